#!/usr/bin/python3
"""Fails when a source includes a header of a layer above its own, or when
the register's SQL outside an engine's dialect uses one engine's words.

The layers, from the bottom up: platform (interfaces), document, print,
register, system (adapters), ui, app. Each folder may include its own layer
and those below; the web-engine module may include only the browser boundary.
"""
import pathlib
import re
import sys

ORDER = ["platform", "document", "print", "register", "system", "ui", "app"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z]+)/', re.M)


def layer_of(path: pathlib.Path, src: pathlib.Path) -> str:
    return path.relative_to(src).parts[0]


def violations(src: pathlib.Path):
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        own = layer_of(path, src)
        if own not in ORDER:
            continue
        for included in INCLUDE.findall(path.read_text(encoding="utf-8")):
            if included in ORDER and ORDER.index(included) > ORDER.index(own):
                yield f"{path.relative_to(src)} includes {included}/, a layer above {own}/"


# What only SQLite understands, kept in its dialect class so that another
# engine can stand behind the same store.
ENGINE_WORDS = re.compile(r"\bBLOB\b|\bPRAGMA\b|INTEGER (NOT NULL )?PRIMARY KEY")


def engine_words(src: pathlib.Path):
    for path in sorted((src / "register").glob("*")):
        if path.suffix not in (".h", ".cpp") or path.stem.startswith("Sqlite"):
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            if ENGINE_WORDS.search(line):
                yield f"register/{path.name}:{number} uses SQLite's own words outside its dialect"


def main() -> int:
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parents[2] / "src")
    found = list(violations(src)) + list(engine_words(src))
    for line in found:
        print(line)
    print(f"{len(found)} crossing(s) of a layer or an engine")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
