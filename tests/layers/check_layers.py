#!/usr/bin/env python3
"""Holds every #include of src/ to the layers that src/CMakeLists.txt lists.

    check_layers.py SRC_DIR QT_INCLUDE_DIR LAYER...

Each LAYER is "name|folders|layers beneath|Qt modules", the lists split by
spaces. A file may include the headers of its own layer and of every layer
beneath it, however deep, and Qt headers of its layer's modules only. Exits
with 1 and names each file, line and header that breaks the rule.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]')


def layers_from(specs):
    layers = {}
    for spec in specs:
        name, folders, beneath, modules = spec.split("|")
        layers[name] = (folders.split(), beneath.split(), modules.split())
    return layers


def reachable(layers, name):
    seen, todo = set(), [name]
    while todo:
        layer = todo.pop()
        if layer not in seen:
            seen.add(layer)
            todo.extend(layers[layer][1])
    return seen


def qt_module(header, qt_include):
    """The Qt module a header belongs to, or None when it is no Qt header."""
    first = header.split("/")[0]
    if first.startswith("Qt") and os.path.isdir(os.path.join(qt_include, first)):
        return first[2:]
    if not header.startswith("Q") or "/" in header:
        return None
    for module in sorted(os.listdir(qt_include)):
        if os.path.isfile(os.path.join(qt_include, module, header)):
            return module[2:]
    return None


def main():
    src, qt_include, specs = sys.argv[1], sys.argv[2], sys.argv[3:]
    layers = layers_from(specs)
    layer_of = {folder: name for name, (folders, _, _) in layers.items() for folder in folders}
    faults = []
    for folder in sorted(os.listdir(src)):
        path = os.path.join(src, folder)
        if not os.path.isdir(path):
            continue
        if folder not in layer_of:
            faults.append(f"src/{folder}: a folder in no layer")
            continue
        name = layer_of[folder]
        allowed_folders = {f for layer in reachable(layers, name) for f in layers[layer][0]}
        modules = layers[name][2]
        for file in sorted(os.listdir(path)):
            if not file.endswith((".cpp", ".h", ".h.in")):
                continue
            with open(os.path.join(path, file), encoding="utf-8") as text:
                for number, line in enumerate(text, 1):
                    found = INCLUDE.match(line)
                    if not found:
                        continue
                    header = found.group(1)
                    first = header.split("/")[0]
                    where = f"src/{folder}/{file}:{number}: {header}"
                    if "/" in header and first in layer_of and first not in allowed_folders:
                        faults.append(f"{where}: layer {layer_of[first]} is above {name}")
                    module = qt_module(header, qt_include)
                    if module is not None and module not in modules:
                        faults.append(f"{where}: Qt {module} is not for layer {name}")
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} includes break the layers listed in src/CMakeLists.txt")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
