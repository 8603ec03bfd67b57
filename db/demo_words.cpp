#include "db/demo_words.h"

#include <array>

namespace quillon::db::words {

namespace {

constexpr std::array<std::string_view, 24> kMaterialNouns = {
    "钢板", "圆钢",   "角钢", "槽钢", "钢管",   "铜排",   "铝板", "铸铁件",
    "螺栓", "螺母",   "垫圈", "销轴", "弹簧",   "轴承",   "齿轮", "链条",
    "皮带", "密封件", "电缆", "端子", "熔断器", "继电器", "油漆", "焊丝"};
constexpr std::array<std::string_view, 12> kMaterialPrefixes = {"冷拔",   "热轧", "镀锌", "不锈",
                                                                "高强度", "耐磨", "精密", "加厚",
                                                                "轻型",   "重型", "防锈", "阻燃"};
constexpr std::array<std::string_view, 20> kCompanyCores = {
    "恒通", "宏达", "金鼎", "华盛", "永兴", "鑫源", "瑞丰", "天成", "东方", "新世纪",
    "嘉禾", "长城", "远航", "博远", "正泰", "和信", "隆昌", "万隆", "中联", "福瑞"};
constexpr std::array<std::string_view, 10> kCompanyTrades = {
    "机械", "五金", "钢材", "电气", "化工", "物资", "机电设备", "精密铸造", "包装材料", "贸易"};
constexpr std::array<std::string_view, 12> kRegions = {
    "上海",     "江苏苏州", "浙江宁波", "广东佛山", "山东青岛", "天津",
    "湖北武汉", "四川成都", "河北沧州", "安徽合肥", "辽宁沈阳", "福建厦门"};
constexpr std::array<std::string_view, 20> kSurnames = {"王", "李", "张", "刘", "陈", "杨", "赵",
                                                        "黄", "周", "吴", "徐", "孙", "胡", "朱",
                                                        "高", "林", "何", "郭", "马", "罗"};
constexpr std::array<std::string_view, 20> kGivenNames = {
    "伟", "芳", "娜", "敏", "静",   "磊",   "洋",   "勇",   "艳",   "杰",
    "军", "霞", "明", "超", "秀英", "建国", "志强", "丽华", "海燕", "晓东"};
constexpr std::array<std::string_view, 6> kBanks = {"中国工商银行", "中国建设银行", "中国农业银行",
                                                    "中国银行",     "交通银行",     "招商银行"};
constexpr std::array<std::string_view, 10> kStreets = {
    "人民路", "解放路", "建设路", "工业大道",       "开发区纬二路",
    "长江路", "黄河路", "中山路", "科技园区创业路", "滨江大道"};

}  // namespace

std::span<const std::string_view> materialNouns() {
  return kMaterialNouns;
}
std::span<const std::string_view> materialPrefixes() {
  return kMaterialPrefixes;
}
std::span<const std::string_view> companyCores() {
  return kCompanyCores;
}
std::span<const std::string_view> companyTrades() {
  return kCompanyTrades;
}
std::span<const std::string_view> regions() {
  return kRegions;
}
std::span<const std::string_view> surnames() {
  return kSurnames;
}
std::span<const std::string_view> givenNames() {
  return kGivenNames;
}
std::span<const std::string_view> banks() {
  return kBanks;
}
std::span<const std::string_view> streets() {
  return kStreets;
}

}  // namespace quillon::db::words
