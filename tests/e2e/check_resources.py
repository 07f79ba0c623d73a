#!/usr/bin/env python3
"""Checks what `kivet-driver resources Kivet.exe` read back through the platform's own
resource and version APIs: exactly the two resources, the version block and the manifest."""
import sys
import xml.etree.ElementTree as ElementTree

ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
SETTINGS = "{http://schemas.microsoft.com/SMI/%d/WindowsSettings}"

EXPECTED_LINES = [
    "resource type=16 id=1 language=0x0409",
    "resource type=24 id=1 language=0x0409",
    "FileVersion=0.2.1.0",
    "ProductVersion=0.2.1.0",
    "FlagsMask=0x3F",
    "Flags=0x0",
    "OS=0x40004",
    "Type=1",
    "Subtype=0",
    "Translation=040904B0",
    "String CompanyName=Pellow Dune",
    "String FileDescription=Kivet week-number tray indicator",
    "String FileVersion=0.2.1",
    "String InternalName=Kivet",
    "String OriginalFilename=Kivet.exe",
    "String ProductName=Kivet",
    "String ProductVersion=0.2.1",
]

failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what)
    if not condition:
        failures.append(what)


def main():
    text = sys.stdin.read().replace("\r", "")
    manifest = ""
    if "manifest-begin\n" in text:
        before, rest = text.split("manifest-begin\n", 1)
        manifest, after = rest.split("\nmanifest-end\n", 1)
        text = before + after
    lines = [line for line in text.split("\n") if line]
    resources = [line for line in lines if line.startswith("resource ")]
    others = [line for line in lines if not line.startswith("resource ")]
    check(resources == EXPECTED_LINES[:2], "exactly two resources, id 1, en-US: %s" % resources)
    check(others == EXPECTED_LINES[2:], "version block as read by VerQueryValueW")
    for line in EXPECTED_LINES[2:]:
        if line not in others:
            print("     missing: " + line)

    check(manifest.startswith('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'),
          "manifest is standalone UTF-8 XML")
    root = ElementTree.fromstring(manifest.encode("utf-8"))
    check(root.tag == ASM_V1 + "assembly" and root.get("manifestVersion") == "1.0",
          "assembly, manifest version 1.0")
    identity = root.find(ASM_V1 + "assemblyIdentity")
    check(identity is not None and identity.attrib == {
        "name": "PellowDune.Kivet", "processorArchitecture": "amd64", "type": "win32",
        "version": "0.2.1.0"}, "assembly identity")
    description = root.find(ASM_V1 + "description")
    check(description is not None and description.text == "Kivet week-number tray indicator",
          "description")
    dependency = root.find(ASM_V1 + "dependency/" + ASM_V1 + "dependentAssembly/" +
                           ASM_V1 + "assemblyIdentity")
    check(dependency is not None and dependency.get("name") ==
          "Microsoft.Windows.Common-Controls" and dependency.get("version") == "6.0.0.0" and
          dependency.get("processorArchitecture") == "*" and dependency.get("type") == "win32"
          and dependency.get("publicKeyToken") == "6595b64144ccf1df",
          "common controls 6 dependency")
    level = root.find(ASM_V3 + "trustInfo/" + ASM_V3 + "security/" + ASM_V3 +
                      "requestedPrivileges/" + ASM_V3 + "requestedExecutionLevel")
    check(level is not None and level.get("level") == "asInvoker" and
          level.get("uiAccess") == "false", "asInvoker, no uiAccess")
    settings = root.find(ASM_V3 + "application/" + ASM_V3 + "windowsSettings")
    values = {}
    if settings is not None:
        for year, name in ((2005, "dpiAware"), (2016, "dpiAwareness"),
                           (2019, "activeCodePage")):
            element = settings.find((SETTINGS % year) + name)
            values[name] = element.text if element is not None else None
    check(values == {"dpiAware": "true/pm", "dpiAwareness": "PerMonitorV2, PerMonitor",
                     "activeCodePage": "UTF-8"}, "windows settings: %s" % values)
    total = 9
    print("%d passed, %d failed" % (total - len(failures), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
