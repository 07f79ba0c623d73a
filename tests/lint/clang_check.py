#!/usr/bin/env python3
"""clang_check.py BUILD_DIR SOURCE_DIR

A second compiler over every file that the MinGW build compiles from src/, tests/ and tools/:
clang++ for the same target, with the same definitions and include paths (read from the build's
compile_commands.json and its response files), -Wall -Wextra -Werror, syntax only. So nothing
that only GCC accepts creeps in. Prints one line per file and "N passed, N failed".
"""

import concurrent.futures
import json
import os
import shlex
import subprocess
import sys

GCC_CXX = "/usr/lib/gcc/x86_64-w64-mingw32/12-posix/include/c++"
CLANG = [
    "clang++",
    "--target=x86_64-w64-mingw32",
    "-std=c++17",
    "-fsyntax-only",
    "-Wall",
    "-Wextra",
    "-Werror",
    "-isystem",
    GCC_CXX,
    "-isystem",
    GCC_CXX + "/x86_64-w64-mingw32",
]
CHECKED_FOLDERS = ("src", "tests", "tools")


def expand_response_files(arguments, directory):
    expanded = []
    for argument in arguments:
        if argument.startswith("@"):
            with open(os.path.join(directory, argument[1:]), encoding="utf-8") as response:
                expanded.extend(shlex.split(response.read()))
        else:
            expanded.append(argument)
    return expanded


def definitions_and_includes(arguments):
    """The -D, -U, -I and -isystem options of a compile command, in their order."""
    kept = []
    index = 0
    while index < len(arguments):
        argument = arguments[index]
        if argument in ("-D", "-U", "-I", "-isystem", "-include"):
            kept.extend(arguments[index : index + 2])
            index += 2
            continue
        if argument.startswith(("-D", "-U", "-I", "-isystem")):
            kept.append(argument)
        index += 1
    return kept


def clang_command(entry):
    arguments = entry.get("arguments") or shlex.split(entry["command"])
    arguments = expand_response_files(arguments, entry["directory"])
    return CLANG + definitions_and_includes(arguments) + [entry["file"]]


def check(entry):
    result = subprocess.run(
        clang_command(entry),
        cwd=entry["directory"],
        capture_output=True,
        text=True,
    )
    return entry["file"], result.returncode, result.stdout + result.stderr


def main():
    build_dir, source_dir = (os.path.abspath(path) for path in sys.argv[1:3])
    with open(os.path.join(build_dir, "compile_commands.json"), encoding="utf-8") as database:
        entries = json.load(database)
    roots = tuple(os.path.join(source_dir, folder) + os.sep for folder in CHECKED_FOLDERS)
    chosen = {}
    for entry in entries:
        path = os.path.abspath(os.path.join(entry["directory"], entry["file"]))
        if path.startswith(roots) and path.endswith(".cpp"):
            chosen.setdefault(path, dict(entry, file=path))  # one check per source file
    if not chosen:
        print("FAIL no source files found in compile_commands.json")
        print("0 passed, 1 failed")
        return 1

    passed = failed = 0
    jobs = int(os.environ.get("JOBS", "2"))
    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        for path, status, output in pool.map(check, sorted(chosen.values(), key=lambda e: e["file"])):
            name = os.path.relpath(path, source_dir)
            if status == 0:
                passed += 1
                print("ok   " + name)
            else:
                failed += 1
                print("FAIL " + name)
                print(output.rstrip())
    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
