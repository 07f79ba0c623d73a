#!/usr/bin/env python3
"""The Group Policy files are well-formed, agree with each other (strings, presentations and
their elements) and hold the keys, value names and types that Kivet reads."""
import pathlib
import re
import subprocess
import sys
import xml.etree.ElementTree as ET

NS = {"p": "http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions"}
root = pathlib.Path(sys.argv[1])
policy_dir = root / "packaging" / "policy"
problems = []


def code_policy_key():
    source = (root / "src/settings/policy_store.cpp").read_text()
    return re.search(r'PolicyKeyPath\[\] = L"([^"]+)"', source).group(1).replace("\\\\", "\\")


def code_value_types():
    source = (root / "src/settings/settings_store.cpp").read_text()
    table = re.search(r"SettingValues\[\] = \{(.*?)\n\};", source, re.S).group(1)
    return dict(re.findall(r'\{L"(\w+)", (REG_\w+)\}', table))


files = sorted(policy_dir.glob("*.admx")) + sorted(policy_dir.glob("*/*.adml"))
lint = subprocess.run(["xmllint", "--noout", *map(str, files)], capture_output=True, text=True)
if lint.returncode != 0:
    sys.exit("not well-formed:\n" + lint.stderr)

admx_path = policy_dir / "kivet.admx"
admx = ET.parse(admx_path).getroot()
key = code_policy_key()
types = code_value_types()

# Where each value is written, and as what: text elements write REG_SZ, decimals REG_DWORD.
written = {}
presented_elements = {}
for policy in admx.iterfind(".//p:policy", NS):
    name = policy.get("name")
    if policy.get("valueName"):
        written.setdefault(policy.get("valueName"), set()).add("REG_DWORD")
    elements = policy.find("p:elements", NS)
    ids = set()
    for element in elements if elements is not None else []:
        tag = element.tag.split("}")[1]
        ids.add(element.get("id"))
        kind = "REG_SZ" if tag == "text" else "REG_DWORD"
        written.setdefault(element.get("valueName"), set()).add(kind)
        if element.get("key") not in (None, key):
            problems.append(f"{name}: element key {element.get('key')}")
    for item in policy.iterfind(".//p:valueList/p:item", NS):
        deleted = item.find("p:value/p:delete", NS) is not None
        written.setdefault(item.get("valueName"), set()).update(set() if deleted else {"REG_DWORD"})
        if item.get("key") != key:
            problems.append(f"{name}: value list key {item.get('key')}")
    if policy.get("key") != key:
        problems.append(f"{name}: key {policy.get('key')}, Kivet reads {key}")
    presentation = re.fullmatch(r"\$\(presentation\.(\w+)\)", policy.get("presentation") or "")
    if presentation:
        presented_elements[presentation.group(1)] = ids
    elif ids:
        problems.append(f"{name}: elements without a presentation")


def data_of(value):  # of a <value>, <enabledValue> or <disabledValue>
    return tuple((child.tag, tuple(sorted(child.attrib.items()))) for child in value)


# Every choice writes its own data to the policy's own value, which alone an editor reads the
# choice back from (a value list beside it does not count): enum items, enabled and disabled.
for policy in admx.iterfind(".//p:policy", NS):
    states = [policy.find(f"p:{state}Value", NS) for state in ("enabled", "disabled")]
    choice_sets = [[item.find("p:value", NS) for item in enum] for enum in policy.iterfind(".//p:enum", NS)]
    for choices in choice_sets + [[state for state in states if state is not None]]:
        if len({data_of(choice) for choice in choices}) != len(choices):
            problems.append(f"{policy.get('name')}: two choices write the same value")

if set(written) != set(types):
    problems.append(f"value names {sorted(written)}, Kivet reads {sorted(types)}")
for value, kinds in written.items():
    if value in types and kinds - {types[value]}:
        problems.append(f"{value} written as {sorted(kinds)}, Kivet reads {types[value]}")

strings = set(re.findall(r"\$\(string\.(\w+)\)", admx_path.read_text(encoding="utf-8")))
adml_files = sorted(policy_dir.glob("*/kivet.adml"))
for adml_path in adml_files:
    adml = ET.parse(adml_path).getroot()
    where = adml_path.relative_to(policy_dir)
    defined = {s.get("id") for s in adml.iterfind(".//p:stringTable/p:string", NS)}
    if defined != strings:
        problems.append(f"{where}: missing {sorted(strings - defined)}, extra {sorted(defined - strings)}")
    shown = {p.get("id"): p for p in adml.iterfind(".//p:presentationTable/p:presentation", NS)}
    if set(shown) != set(presented_elements):
        problems.append(f"{where}: presentations {sorted(shown)}, named {sorted(presented_elements)}")
    for presentation_id, ids in presented_elements.items():
        if presentation_id in shown:
            refs = {child.get("refId") for child in shown[presentation_id]}
            if refs != ids:
                problems.append(f"{where}: {presentation_id} shows {sorted(refs)}, not {sorted(ids)}")

print("\n".join(problems) or f"{len(files)} policy files agree with each other and with the code")
sys.exit(1 if problems else 0)
