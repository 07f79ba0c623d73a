#!/usr/bin/env python3
"""msi_rules.py BUILD_DIR VERSION: both installers' tables (msiinfo) against the validation (ICE)
rules that apply to them, as no ICE runner exists on Linux; each rule must also find its fault."""
import copy
import subprocess
import sys

PROFILE = {"AppDataFolder", "LocalAppDataFolder", "PersonalFolder", "ProgramMenuFolder",
           "StartMenuFolder", "StartupFolder", "DesktopFolder", "FavoritesFolder", "SendToFolder",
           "TemplateFolder", "MyPicturesFolder", "NetHoodFolder", "PrintHoodFolder", "RecentFolder"}
FOLLOWS_ALLUSERS = {"ProgramMenuFolder", "StartMenuFolder", "StartupFolder", "DesktopFolder",
                    "TemplateFolder"}


def read(msi):
    def rows(name):
        lines = subprocess.run(["msiinfo", "export", msi, name], capture_output=True, text=True,
                               check=True).stdout.replace("\r", "").split("\n")
        return [dict(zip(lines[0].split("\t"), line.split("\t"))) for line in lines[3:] if line]
    t = {name: rows(name) for name in ("Component", "Directory", "Registry", "File", "Shortcut",
                                       "RemoveFile", "Property", "MsiFileHash", "LaunchCondition")}
    t["machine"] = {"ALLUSERS": "1"}.items() <= {p["Property"]: p["Value"] for p in t["Property"]}.items()
    return t


def root_folder(t, directory):  # the profile folder a folder lies in, if any
    parents = {d["Directory"]: d["Directory_Parent"] for d in t["Directory"]}
    while directory and directory not in PROFILE:
        directory = parents.get(directory)
    return directory or None


def keys_on_user(t, c):  # HKCU, or HKMU where ALLUSERS makes it HKLM
    return any(r["Registry"] == c["KeyPath"] and r["Root"] in ("1", "-1")[:1 + t["machine"]]
               for r in t["Registry"])


def kinds(t, c):  # the user's data or the machine's, in one component
    found = {"user" if r["Root"] == "1" or (r["Root"] == "-1" and not t["machine"]) else "machine"
             for r in t["Registry"] if r["Component_"] == c["Component"]}
    if any(f["Component_"] == c["Component"] for f in t["File"]):
        found.add("user" if root_folder(t, c["Directory_"]) and not t["machine"] else "machine")
    return found


RULES = {  # each: what breaks it, in a copy of the user's (0) or machine's (1) tables
    "ICE38 components in the profile key on the user's registry": lambda t, v: [
        c["Component"] for c in t["Component"] if root_folder(t, c["Directory_"]) and not keys_on_user(t, c)],
    "ICE43 components with shortcuts key on HKCU or HKMU": lambda t, v: [
        c["Component"] for c in t["Component"] if c["Component"] in
        {s["Component_"] for s in t["Shortcut"]} and not keys_on_user(t, c)],
    "ICE57 no component mixes the user's and the machine's data": lambda t, v: [
        c["Component"] for c in t["Component"] if len(kinds(t, c)) > 1],
    "ICE64 folders made in the profile are removed": lambda t, v: [
        d["Directory"] for d in t["Directory"] if d["Directory"] not in PROFILE and root_folder(
            t, d["Directory"]) and d["Directory"] not in {r["DirProperty"] for r in t["RemoveFile"]}],
    "ICE91 a machine package puts nothing where ALLUSERS does not reach": lambda t, v: [
        c["Component"] for c in t["Component"] if t["machine"] and c["Component"] in
        {f["Component_"] for f in t["File"]} | {s["Component_"] for s in t["Shortcut"]}
        and root_folder(t, c["Directory_"]) not in (None, *FOLLOWS_ALLUSERS)],
    "Kivet.exe's version in the File table, without a hash": lambda t, v: [
        f["File"] for f in t["File"] if f["FileName"] == "Kivet.exe" and (f["Version"] != v + ".0"
        or f["File"] in {h["File_"] for h in t["MsiFileHash"]})],
    "Windows 10 1607 or later, removal anywhere": lambda t, v: [] if any(
        c["Condition"] == "Installed OR WINDOWSBUILD >= 14393" for c in t["LaunchCondition"]) else ["none"],
}


def registry_of(t, component):  # the key path's Registry row of a component
    key = next(c["KeyPath"] for c in t["Component"] if c["Component"] == component)
    return next(r for r in t["Registry"] if r["Registry"] == key)


FAULTS = [  # the faults the rules are there for, in the order of the rules
    (0, lambda t: registry_of(t, "StartMenuShortcut").update(Root="2")),
    (1, lambda t: registry_of(t, "StartMenuShortcut").update(Root="2")),
    (1, lambda t: registry_of(t, "ProgramFiles").update(Root="1")),
    (0, lambda t: t.update(RemoveFile=[r for r in t["RemoveFile"] if r["DirProperty"] != "UserProgramsFolder"])),
    (1, lambda t: [d.update(Directory_Parent="LocalAppDataFolder") for d in t["Directory"]
                   if d["Directory"] == "INSTALLDIR"]),
    (0, lambda t: [f.update(Version="") for f in t["File"]]),
    (0, lambda t: t["LaunchCondition"].clear()),
]

build, version = sys.argv[1:3]
msis = [read(f"{build}/Kivet-{version}-win64{scope}.msi") for scope in ("", "-machine")]
failed = 0
for (name, rule), (faulty, fault) in zip(RULES.items(), FAULTS):
    broken = copy.deepcopy(msis[faulty])
    fault(broken)
    for what, bad in [("user", rule(msis[0], version)), ("machine", rule(msis[1], version)),
                      (("user", "machine")[faulty] + " with its fault, found", not rule(broken, version))]:
        failed += bool(bad)
        print(f"{'FAIL' if bad else 'ok  '} {name}: {what} {' '.join(bad) if isinstance(bad, list) else ''}")
print(f"{failed} failed")
sys.exit(1 if failed else 0)
