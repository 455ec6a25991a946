#!/usr/bin/env python3
"""Fails when source files depend on each other through their includes.

A unit is a header with its source file (a.h and a.cpp in one folder). Unit A
depends on unit B when either file of A includes B's header. Any loop among
units, of two or more, is reported: such classes cannot be built, read or
tested one without the other.

Usage: check_include_cycles.py DIR [DIR...]
Quoted includes are looked up by file name among the headers under the given
folders; system headers and generated ones (ui_*.h) are not units.
"""

import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
SOURCE_SUFFIXES = ('.h', '.hpp', '.cpp', '.cc', '.c')


def collect_units(roots):
    """Maps unit name (folder/stem) to its files; headers by file name to units."""
    units = {}
    headers = {}
    for root in roots:
        for folder, _, files in os.walk(root):
            for name in files:
                if not name.endswith(SOURCE_SUFFIXES):
                    continue
                path = os.path.join(folder, name)
                unit = os.path.join(folder, os.path.splitext(name)[0])
                units.setdefault(unit, []).append(path)
                if name.endswith(('.h', '.hpp')):
                    headers.setdefault(name, []).append(unit)
    return units, headers


def dependency_graph(units, headers):
    graph = {}
    for unit, files in units.items():
        folder = os.path.dirname(unit)
        targets = set()
        for path in files:
            with open(path, encoding='utf-8', errors='replace') as source:
                text = source.read()
            for included in INCLUDE.findall(text):
                name = os.path.basename(included)
                candidates = headers.get(name, [])
                # The header beside the file wins, as the compiler finds it first.
                same_folder = [c for c in candidates if os.path.dirname(c) == folder]
                for target in same_folder or candidates:
                    if target != unit:
                        targets.add(target)
        graph[unit] = targets
    return graph


def cycles(graph):
    """Strongly connected components of more than one unit (Tarjan)."""
    index = {}
    low = {}
    stack = []
    on_stack = set()
    found = []
    counter = [0]

    def visit(start):
        # Iterative, so that deep include chains cannot exhaust the stack.
        work = [(start, iter(sorted(graph.get(start, ()))))]
        index[start] = low[start] = counter[0]
        counter[0] += 1
        stack.append(start)
        on_stack.add(start)
        while work:
            node, children = work[-1]
            advanced = False
            for child in children:
                if child not in index:
                    index[child] = low[child] = counter[0]
                    counter[0] += 1
                    stack.append(child)
                    on_stack.add(child)
                    work.append((child, iter(sorted(graph.get(child, ())))))
                    advanced = True
                    break
                if child in on_stack:
                    low[node] = min(low[node], index[child])
            if advanced:
                continue
            work.pop()
            if work:
                parent = work[-1][0]
                low[parent] = min(low[parent], low[node])
            if low[node] == index[node]:
                component = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    component.append(member)
                    if member == node:
                        break
                if len(component) > 1:
                    found.append(sorted(component))

    for unit in sorted(graph):
        if unit not in index:
            visit(unit)
    return sorted(found)


def main(argv):
    roots = argv[1:]
    if not roots:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    for root in roots:
        if not os.path.isdir(root):
            print(f'not a folder: {root}', file=sys.stderr)
            return 2
    units, headers = collect_units(roots)
    graph = dependency_graph(units, headers)
    loops = cycles(graph)
    for loop in loops:
        print('include loop: ' + ' <-> '.join(loop))
        for unit in loop:
            inside = sorted(t for t in graph[unit] if t in loop)
            print(f'  {unit} includes {", ".join(inside)}')
    if loops:
        return 1
    print(f'{len(units)} units, no include loops')
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
