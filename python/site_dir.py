"""Prints the folder, relative to an install prefix, that this interpreter imports packages from:

    python3 site_dir.py PREFIX        e.g. lib/python3/dist-packages for /usr on Debian

A prefix the interpreter searches (/usr, /usr/local) gives the folder it searches there; any other
(a staging prefix, /opt/...) the folder a package installed for that prefix goes to, which
PYTHONPATH then names. `make install` runs it to place the quillon package.
"""
import os
import site
import sys
import sysconfig


def site_dir(prefix: str) -> str:
    prefix = os.path.abspath(prefix)
    searched = list(site.getsitepackages()) + [p for p in sys.path if p.endswith("-packages")]
    for path in searched:
        relative = os.path.relpath(os.path.abspath(path), prefix)
        # Under the prefix itself, not in a prefix below it (/usr/local under /usr).
        if relative.startswith("lib") and not relative.startswith(".."):
            return relative
    purelib = sysconfig.get_path("purelib", "posix_prefix", {"base": prefix, "platbase": prefix})
    return os.path.relpath(purelib, prefix)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: site_dir.py PREFIX")
    print(site_dir(sys.argv[1]))
