/* Another project's C program: logs in on an account through the installed C interface and reads
 * a collection back. Usage: consumer_c DB. Prints what it found; exit status 1 on any error. */
#include <quillon.h>
#include <stdio.h>

static int fail(const char *what) {
  fprintf(stderr, "consumer_c: %s: %s\n", what, quillon_error_text());
  return 1;
}

int main(int argc, char **argv) {
  quillon_value login = 0, args[2] = {0, 0}, user = 0, coll = 0, item = 0, nope = 0;
  const char *text = NULL;
  int32_t count = 0;
  if (argc != 2) return 2;
  printf("version %s\n", quillon_version());

  if (quillon_create("Quillon.Suite.Login", &login) || quillon_text(argv[1], &args[0]) ||
      quillon_text("demo", &args[1]) || quillon_call(login, "Open", 2, args, NULL, NULL) ||
      quillon_get_property(login, "cUserId", &user) || quillon_get_text(user, &text)) {
    return fail("login");
  }
  printf("user %s\n", text);

  if (quillon_create("Collection", &coll) ||
      quillon_call(coll, "Add", 1, &args[1], NULL, NULL) ||
      quillon_collection_count(coll, &count) || quillon_collection_item(coll, 1, &item) ||
      quillon_get_text(item, &text)) {
    return fail("collection");
  }
  printf("collection of %d: %s\n", (int)count, text);

  if (quillon_create("No.Such.Class", &nope) != QUILLON_RAISED || quillon_error_number() != 429) {
    return fail("an unknown class");
  }
  printf("unknown class: %s\n", quillon_error_text());

  quillon_release(item);
  quillon_release(coll);
  quillon_release(user);
  quillon_release(args[0]);
  quillon_release(args[1]);
  quillon_release(login);
  return 0;
}
