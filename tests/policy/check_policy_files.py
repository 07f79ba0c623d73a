#!/usr/bin/env python3
"""The Group Policy files are well-formed, agree with each other (strings, presentations and
their elements) and hold the keys, value names and types that Kivet reads; every language of the
program's menu has its .adml, whose names for the menu's settings are the menu's own words."""
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


def menu_tables():
    """Each table's language code and its texts by UiTextId name, '&' and '…' removed."""
    header = (root / "src/text/ui_text_id.h").read_text()
    ids = re.search(r"enum UiTextId \{(.*?)\};", header, re.S)[1]
    names = re.findall(r"^\s*(Text\w+)", ids, re.M)
    for path in sorted((root / "src/text").glob("lang_*.cpp")):
        source = path.read_text(encoding="utf-8")
        body = re.search(r"char \w+\[\] =(.*?);\n", source, re.S)[1]
        texts = "".join(re.findall(r'"((?:[^"\\]|\\.)*)"', body)).split("\\0")
        code = re.search(r'LanguageTable \w+ = \{"([^"]+)"', source)[1]
        yield code, {n: t.replace("&", "").replace("…", "") for n, t in zip(names, texts)}


def folder_of(code):
    """Windows' language-region name for a table's code: de → de-DE, sr-Latn → sr-Latn-RS."""
    region = {"ca": "ES", "cs": "CZ", "da": "DK", "el": "GR", "en": "US", "et": "EE", "ga": "IE",
              "nb": "NO", "sl": "SI", "sr": "RS", "sv": "SE", "uk": "UA"}
    last = code.split("-")[-1]
    if len(last) == 2 and last.isupper():
        return code
    return f"{code}-{region.get(code[:2], code[:2].upper())}"


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

# The settings that mirror a menu item carry its words, and each presentation keeps en-US's layout.
MENU_WORDS = {"AdditionalLine": "TextAdditionalLineItem",
              "AdditionalLinePosition": "TextPositionMenu", "PositionAbove": "TextAbove",
              "PositionBelow": "TextBelow", "PositionHidden": "TextHidden",
              "LeadingZero": "TextLeadingZeroMenu", "ColourScheme": "TextColoursMenu",
              "ColoursBlackText": "TextBlackText", "ColoursWhiteText": "TextWhiteText",
              "FollowTaskbarTheme": "TextMatchTaskbar", "TextColour": "TextCustomTextColour",
              "BackgroundColour": "TextBackgroundColour", "Font": "TextFontMenu"}


def layout(adml):
    shown = adml.iterfind(".//p:presentationTable/p:presentation", NS)
    return {p.get("id"): [(e.tag, sorted(e.attrib.items())) for e in p.iter()] for p in shown}


english_layout = layout(ET.parse(policy_dir / "en-US/kivet.adml").getroot())
tables = dict(menu_tables())
folders = {folder_of(code): code for code in tables}
for folder, code in sorted(folders.items()):
    adml_path = policy_dir / folder / "kivet.adml"
    if not adml_path.exists():
        problems.append(f"{code}: the menu speaks it, {folder}/kivet.adml is missing")
        continue
    adml = ET.parse(adml_path).getroot()
    shown = {s.get("id"): s.text for s in adml.iterfind(".//p:stringTable/p:string", NS)}
    for string_id, text_id in MENU_WORDS.items():
        menu = tables[code].get(text_id)
        if shown.get(string_id) != menu:
            problems.append(f"{folder}: {string_id} {shown.get(string_id)!r}, the menu {menu!r}")
    if layout(adml) != english_layout:
        problems.append(f"{folder}: presentations laid out unlike en-US's")

print("\n".join(problems) or f"{len(files)} policy files agree with each other and with the code")
sys.exit(1 if problems else 0)
