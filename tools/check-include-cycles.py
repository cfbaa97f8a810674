#!/usr/bin/env python3
"""Finds circles in the #include "..." lines of the given folders (default: app/) and checks
that no page includes the window's header. Exits non-zero on a finding.

  tools/check-include-cycles.py            app/ and its subfolders
  tools/check-include-cycles.py DIR...     these folders
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def edges(folders):
    graph = {}
    for folder in folders:
        for path in sorted((ROOT / folder).rglob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            name = path.relative_to(ROOT).as_posix()
            graph[name] = [inc for inc in INCLUDE.findall(path.read_text(encoding="utf-8"))]
    return graph


def circles(graph):
    found = []
    state = {}  # 1 on the path, 2 done

    def visit(node, path):
        state[node] = 1
        path.append(node)
        for target in graph.get(node, []):
            if state.get(target) == 1:
                found.append(path[path.index(target):] + [target])
            elif target not in state and target in graph:
                visit(target, path)
        path.pop()
        state[node] = 2

    for node in graph:
        if node not in state:
            visit(node, [])
    return found


def main():
    folders = sys.argv[1:] or ["app"]
    graph = edges(folders)
    problems = [" -> ".join(c) for c in circles(graph)]
    for name, targets in graph.items():
        if name.startswith("app/pages/") and "app/Main.h" in targets:
            problems.append(f"{name} includes app/Main.h")
    for problem in problems:
        print(problem)
    print(f"includes: {len(graph)} files checked, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
