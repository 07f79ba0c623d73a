#!/usr/bin/env python3
"""cppcheck_src.py BUILD_DIR SOURCE_DIR

cppcheck over the product (src/), in the configuration that the MinGW build compiles: the same
definitions (read from compile_commands.json) and include folders, with its knowledge of the
Windows API. Every finding fails the check; a finding that is wrong or accepted by design is
suppressed in place with a comment that says why (`// cppcheck-suppress ID ; reason`).
"""

import json
import os
import shlex
import subprocess
import sys


def build_definitions(build_dir, source_dir):
    """The -D options of the build's command for a product source file."""
    with open(os.path.join(build_dir, "compile_commands.json"), encoding="utf-8") as database:
        entries = json.load(database)
    product = os.path.join(source_dir, "src") + os.sep
    for entry in entries:
        path = os.path.abspath(os.path.join(entry["directory"], entry["file"]))
        if path.startswith(product):
            arguments = entry.get("arguments") or shlex.split(entry["command"])
            return [argument for argument in arguments if argument.startswith("-D")]
    return None


def main():
    build_dir, source_dir = (os.path.abspath(path) for path in sys.argv[1:3])
    definitions = build_definitions(build_dir, source_dir)
    if not definitions:
        print("FAIL no product source in compile_commands.json")
        return 1
    command = [
        "cppcheck",
        "--enable=warning,style,performance,portability",
        "--library=windows",
        "--inline-suppr",
        "--std=c++17",
        "--language=c++",
        "--platform=win64",
        "--quiet",
        "--error-exitcode=1",
        "--template={file}:{line}: {severity} [{id}] {message}",
        # The compiler's own: cppcheck checks exactly the configuration that is built.
        "-D_WIN32",
        "-D_WIN64",
        "-D__MINGW32__",
        *definitions,
        "-I",
        os.path.join(source_dir, "src"),
        "-I",
        os.path.join(build_dir, "generated"),
        os.path.join(source_dir, "src"),
    ]
    print(" ".join(shlex.quote(part) for part in command))
    result = subprocess.run(command, capture_output=True, text=True)
    findings = [line for line in (result.stdout + result.stderr).splitlines() if line.strip()]
    for finding in findings:
        print(finding)
    if result.returncode != 0 and not findings:
        print(f"cppcheck failed with exit code {result.returncode}")
        return 1
    print(f"cppcheck: {len(findings)} findings")
    return 0 if result.returncode == 0 and not findings else 1


if __name__ == "__main__":
    sys.exit(main())
