#!/usr/bin/env python3
"""msi_rules.py BUILD_DIR VERSION: both built installers' tables, read with msiinfo, against the
rules of Windows Installer's validation (ICE) that apply to them, since no ICE runner exists on
Linux. Each rule is also shown the fault it is there for, and must find it."""
import copy
import subprocess
import sys

# Folders in the user's profile, and those of them that ALLUSERS=1 turns into all users' ones.
PROFILE = {"AppDataFolder", "LocalAppDataFolder", "PersonalFolder", "ProgramMenuFolder",
           "StartMenuFolder", "StartupFolder", "DesktopFolder", "FavoritesFolder", "SendToFolder",
           "TemplateFolder", "MyPicturesFolder", "NetHoodFolder", "PrintHoodFolder",
           "RecentFolder", "AdminToolsFolder"}
FOLLOWS_ALLUSERS = {"ProgramMenuFolder", "StartMenuFolder", "StartupFolder", "DesktopFolder",
                    "TemplateFolder", "AdminToolsFolder"}
HKCU, HKLM, HKMU = "1", "2", "-1"


def table(msi, name):
    text = subprocess.run(["msiinfo", "export", msi, name], capture_output=True, text=True,
                          check=True).stdout.replace("\r", "")
    lines = text.split("\n")
    columns = lines[0].split("\t")
    return [dict(zip(columns, line.split("\t"))) for line in lines[3:] if line]


def read(msi):
    tables = {name: table(msi, name) for name in
              ("Component", "Directory", "Registry", "File", "Shortcut", "RemoveFile",
               "Property", "MsiFileHash", "LaunchCondition")}
    tables["properties"] = {row["Property"]: row["Value"] for row in tables["Property"]}
    return tables


def profile_root(t, directory):
    parents = {row["Directory"]: row["Directory_Parent"] for row in t["Directory"]}
    while directory:
        if directory in PROFILE:
            return directory
        directory = parents.get(directory, "")
    return None


def per_machine(t):
    return t["properties"].get("ALLUSERS") == "1"


def user_roots(t):
    return {HKCU, HKMU} if per_machine(t) else {HKCU}


def key_path_root(t, component):
    roots = [r["Root"] for r in t["Registry"] if r["Registry"] == component["KeyPath"]]
    return roots[0] if roots else None


def ice38(t):  # a component in the profile keys on the user's registry
    return [c["Component"] for c in t["Component"] if profile_root(t, c["Directory_"])
            and key_path_root(t, c) not in user_roots(t)]


def ice43(t):  # a component with a shortcut that is not advertised keys on the user's registry
    owners = {s["Component_"] for s in t["Shortcut"]}
    return [c["Component"] for c in t["Component"] if c["Component"] in owners
            and key_path_root(t, c) not in user_roots(t)]


def ice57(t):  # no component mixes the user's data with the machine's
    def kinds(c):
        found = {"machine" if r["Root"] == HKLM or (r["Root"] == HKMU and per_machine(t))
                 else "user" for r in t["Registry"] if r["Component_"] == c["Component"]}
        if any(f["Component_"] == c["Component"] for f in t["File"]):
            in_profile = profile_root(t, c["Directory_"])
            found.add("user" if in_profile and not per_machine(t) else "machine")
        return found
    return [c["Component"] for c in t["Component"] if len(kinds(c)) > 1]


def ice64(t):  # every folder made in the profile is removed again
    removed = {r["DirProperty"] for r in t["RemoveFile"] if not r["FileName"]}
    return [d["Directory"] for d in t["Directory"] if d["Directory"] not in PROFILE
            and profile_root(t, d["Directory"]) and d["Directory"] not in removed]


def ice91(t):  # a per-machine package puts nothing where ALLUSERS does not reach
    if not per_machine(t):
        return []
    places = [(f["File"], c["Directory_"]) for f in t["File"] for c in t["Component"]
              if c["Component"] == f["Component_"]]
    places += [(s["Shortcut"], s["Directory_"]) for s in t["Shortcut"]]
    return [name for name, directory in places
            if profile_root(t, directory) not in (None, *FOLLOWS_ALLUSERS)]


def file_versions(t, version):  # Kivet.exe carries its version, and no hash beside it
    exe = [f for f in t["File"] if f["FileName"] == "Kivet.exe"]
    hashed = {h["File_"] for h in t["MsiFileHash"]}
    return [f["File"] for f in exe if f["Version"] != version + ".0" or f["File"] in hashed]


def windows_version(t):  # refuses Windows before 10 1607, but never a removal
    wanted = "Installed OR WINDOWSBUILD >= 14393"
    return [] if any(c["Condition"] == wanted for c in t["LaunchCondition"]) else ["missing"]


# Each rule with the fault it is there for, made in a copy of the tables of the MSI named.
def keys_shortcut_on_hklm(t):
    owner = t["Shortcut"][0]["Component_"]
    for c in t["Component"]:
        if c["Component"] == owner:
            next(r for r in t["Registry"] if r["Registry"] == c["KeyPath"])["Root"] = HKLM


def forgets_programs_folder(t):
    t["RemoveFile"] = [r for r in t["RemoveFile"] if r["DirProperty"] != "UserProgramsFolder"]


def mixes_hkcu_in(t):
    t["Registry"][0]["Root"] = HKCU if t["Registry"][0]["Root"] != HKCU else HKLM


def exe_into_local_app_data(t):
    t["Directory"] = [dict(d, Directory_Parent="LocalAppDataFolder")
                      if d["Directory"] == "INSTALLDIR" else d for d in t["Directory"]]


def drops_version(t):
    for f in t["File"]:
        f["Version"] = ""


def drops_windows_check(t):
    t["LaunchCondition"] = [c for c in t["LaunchCondition"] if "WINDOWSBUILD" not in c["Condition"]]


RULES = [  # name, check, fault, the MSI the fault is made in
    ("ICE38 profile components key on HKCU", ice38, keys_shortcut_on_hklm, "user"),
    ("ICE43 shortcut components key on HKCU/HKMU", ice43, keys_shortcut_on_hklm, "machine"),
    ("ICE57 no component mixes user and machine data", ice57, mixes_hkcu_in, "machine"),
    ("ICE64 profile folders are removed", ice64, forgets_programs_folder, "user"),
    ("ICE91 nothing per-user in the machine package", ice91, exe_into_local_app_data, "machine"),
    ("Kivet.exe's version in the File table", None, drops_version, "user"),
    ("Windows 10 1607 or later, removable anywhere", windows_version, drops_windows_check, "user"),
]


def main():
    build, version = sys.argv[1], sys.argv[2]
    msis = {"user": read(f"{build}/Kivet-{version}-win64.msi"),
            "machine": read(f"{build}/Kivet-{version}-win64-machine.msi")}
    failed = 0
    for name, rule, fault, faulty in RULES:
        rule = rule or (lambda t: file_versions(t, version))
        for scope, tables in msis.items():
            found = rule(tables)
            failed += bool(found)
            print(f"{'FAIL' if found else 'ok  '} {name}: {scope} MSI {' '.join(found)}")
        broken = copy.deepcopy(msis[faulty])
        fault(broken)
        missed = not rule(broken)
        failed += missed
        print(f"{'FAIL' if missed else 'ok  '} {name}: finds {fault.__name__} in the {faulty} MSI")
    print(f"{failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
