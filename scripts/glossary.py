#!/usr/bin/env python3
"""Keeps docs/glossary.md true: for every name in its tables it finds where the
name is declared in the product headers and the `///` comment that explains it.

    scripts/glossary.py            rewrite docs/glossary.md in place
    scripts/glossary.py --check    fail when the page differs from the code

The names themselves are the page's: add a row with just a name and run the
script to fill in the rest.
"""
import re
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
PAGE = ROOT / "docs" / "glossary.md"
ROW = re.compile(r"^\| `([A-Za-z_][A-Za-z0-9_]*)` \|")


def product_headers():
    out = subprocess.run(["git", "ls-files", "*.h"], cwd=ROOT, capture_output=True, text=True,
                         check=True).stdout.split()
    return [f for f in out if not f.startswith(("tests/", "bench/", "fuzz/"))]


def declaration_patterns(name):
    n = re.escape(name)
    # A definition with a body beats a forward declaration or a use.
    return [
        re.compile(r"\b(class|struct|enum(\s+class)?)\s+" + n + r"\b[^;]*$"),
        re.compile(r"^\s*(using\s+" + n + r"\b|[\w:<>,()*&\s]+[\s*&]" + n + r"\s*(\(|=|;|\{|\[|,))"),
        re.compile(r"^\s*" + n + r"\s*(=|,|$)"),
        re.compile(r"[\w>]\s+[^;]*,\s*" + n + r"\s*(=|;|,)"),
    ]


def comment_above(lines, i):
    trailing = re.search(r"///<\s*(.*)", lines[i])
    if trailing:
        return trailing.group(1).strip()
    doc = []
    j = i - 1
    while j >= 0 and lines[j].strip().startswith("///"):
        doc.insert(0, lines[j].strip()[3:].strip())
        j -= 1
    return " ".join(doc)


def find(name, texts):
    for pattern in declaration_patterns(name):
        hits = []
        for path, lines in texts.items():
            for i, line in enumerate(lines):
                if line.strip().startswith(("//", "*", "return")):
                    continue
                if pattern.search(line):
                    hits.append((path, comment_above(lines, i)))
        documented = [h for h in hits if h[1]]
        if documented or hits:
            return (documented or hits)[0]
    return None


def find_explained(name, texts):
    """A setter or a field shares the meaning of the property it belongs to."""
    found = find(name, texts)
    if found and found[1]:
        return found
    for prefix, other in (("Set", ""), ("F", ""), ("Set", "Get"), ("Get", "Set")):
        if found and name.startswith(prefix) and name[len(prefix):][:1].isupper():
            owner = find(other + name[len(prefix):], texts)
            if owner and owner[1]:
                return found[0], owner[1]
    return found


def main():
    texts = {f: (ROOT / f).read_text(encoding="utf-8").split("\n") for f in product_headers()}
    old = PAGE.read_text(encoding="utf-8").split("\n")
    new, missing = [], []
    for line in old:
        m = ROW.match(line)
        if not m:
            new.append(line)
            continue
        found = find_explained(m.group(1), texts)
        if not found:
            missing.append(m.group(1))
            new.append(line)
            continue
        path, meaning = found
        meaning = meaning.replace("|", "\\|") or "(self-explaining)"
        new.append(f"| `{m.group(1)}` | {meaning} | {path} |")
    if missing:
        print("not declared in any product header: " + ", ".join(missing), file=sys.stderr)
    if "--check" in sys.argv:
        if new != old or missing:
            print("docs/glossary.md is out of date: run scripts/glossary.py", file=sys.stderr)
            return 1
        return 0
    PAGE.write_text("\n".join(new), encoding="utf-8")
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
