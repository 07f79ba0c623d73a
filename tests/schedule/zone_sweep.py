#!/usr/bin/env python3
"""For every zone of the host's database that Wine maps to one of its own, checks that the
midnight schedule aims at the instant when that zone's local clock reads 00:00:30 of the next
day, at several times of day on the days around both daylight-saving changes of the year.

The expected instants come from Python's zoneinfo (the host's tz database), independently of
Wine. A zone counts as mapped when Wine names a zone for it and reads every tested instant
with the same local time as the host; the others are listed and skipped.

Usage: zone_sweep.py PROBE.exe   (with WINEPREFIX, DISPLAY and a wineserver already set up)
"""
import concurrent.futures
import datetime as dt
import os
import subprocess
import sys
import zoneinfo

UTC = dt.timezone.utc
EPOCH_1601 = dt.datetime(1601, 1, 1, tzinfo=UTC)
FALLBACK_MS = 3600000
CLAMP_TICKS = 21474836480000
CLAMPED_MS = 0x7FFFFFFF
TIMES_OF_DAY = [(0, 0, 0, 0), (0, 0, 10, 0), (0, 0, 29, 999), (0, 0, 30, 0), (0, 0, 31, 0),
                (1, 30, 0, 0), (2, 30, 0, 0), (3, 30, 0, 0), (12, 0, 0, 0), (23, 59, 59, 999)]


def ticks(instant):
    return (instant - EPOCH_1601) // dt.timedelta(microseconds=1) * 10


def zone_names():
    names = set()
    for table in ("zone.tab", "zone1970.tab"):
        with open(os.path.join("/usr/share/zoneinfo", table), encoding="utf-8") as lines:
            for line in lines:
                if line.strip() and not line.startswith("#"):
                    names.add(line.split("\t")[2].strip())
    return sorted(names)


def transition_days(zone, year):
    """Local dates on which the zone's UTC offset changes during the year."""
    days = []
    instant = dt.datetime(year, 1, 1, tzinfo=UTC)
    offset = instant.astimezone(zone).utcoffset()
    while instant.year == year:
        following = instant + dt.timedelta(hours=1)
        following_offset = following.astimezone(zone).utcoffset()
        if following_offset != offset:
            days.append(following.astimezone(zone).date())
            offset = following_offset
        instant = following
    return days


def sample_days(zone, year):
    changes = transition_days(zone, year)
    if not changes:  # no daylight saving: the days around the usual northern changes
        changes = [dt.date(year, 3, 29), dt.date(year, 10, 25)]
    days = set()
    for change in changes:
        for shift in (-1, 0, 1):
            days.add(change + dt.timedelta(days=shift))
    return sorted(days)


def expected_delays(now_utc, zone):
    """The delays that aim at 00:00:30 of the next local day; two when that wall time is
    ambiguous or missing (either reading of it is the conversion's to choose)."""
    local = now_utc.astimezone(zone)
    tomorrow = local.date() + dt.timedelta(days=1)
    delays = set()
    for fold in (0, 1):
        wall = dt.datetime(tomorrow.year, tomorrow.month, tomorrow.day, 0, 0, 30,
                           tzinfo=zone, fold=fold)
        difference = ticks(wall.astimezone(UTC)) - ticks(now_utc)
        if difference <= 0:
            delays.add(FALLBACK_MS)
        elif difference >= CLAMP_TICKS:
            delays.add(CLAMPED_MS)
        else:
            delays.add(difference // 10000)
    return delays


def check_zone(probe, name, year):
    zone = zoneinfo.ZoneInfo(name)
    instants = {}
    for day in sample_days(zone, year):
        for hour, minute, second, millisecond in TIMES_OF_DAY:
            wall = dt.datetime(day.year, day.month, day.day, hour, minute, second,
                               millisecond * 1000, tzinfo=zone)
            now_utc = wall.astimezone(UTC)
            instants[ticks(now_utc)] = now_utc
    lines = []
    for key in sorted(instants):
        local = instants[key].astimezone(zone)
        lines.append("%d %d %d %d %d %d %d %d" % (
            key, local.year, local.month, local.day, local.hour, local.minute, local.second,
            local.microsecond // 1000))
    # A Wine process start can fail for reasons of its own (seen once in hundreds of runs);
    # a second attempt tells that apart from a probe that cannot answer.
    for attempt in range(2):
        result = subprocess.run(["wine", probe], input="\n".join(lines) + "\n", text=True,
                                capture_output=True, env=dict(os.environ, TZ=name),
                                timeout=120)
        output = result.stdout.replace("\r", "").split("\n")
        wine_zone = output[0][5:] if output and output[0].startswith("zone ") else ""
        rows = [row.split() for row in output[1:] if row.strip()]
        if result.returncode == 0 and len(rows) == len(instants):
            break
    if result.returncode != 0 or len(rows) != len(instants):
        return name, "error", wine_zone, ["%s: probe exited %d with %d of %d lines: %r" % (
            name, result.returncode, len(rows), len(instants), result.stderr[-300:])], 0, 0
    if wine_zone in ("", "-"):
        return name, "unmapped", wine_zone, [], 0, 0
    failures = []
    ambiguous = 0
    for row in rows:
        now_ticks, delay, wine_local = int(row[0]), int(row[1]), int(row[2])
        now_utc = instants[now_ticks]
        host_local = now_utc.astimezone(zone).replace(tzinfo=UTC)
        if wine_local != ticks(host_local):
            return name, "disagrees", wine_zone, [], 0, 0
    for row in rows:
        now_ticks, delay = int(row[0]), int(row[1])
        now_utc = instants[now_ticks]
        expected = expected_delays(now_utc, zone)
        if len(expected) > 1:
            ambiguous += 1
        if delay not in expected:
            failures.append("%s local %s: delay %d ms, expected %s" % (
                name, now_utc.astimezone(zone).isoformat(), delay, sorted(expected)))
    return name, "checked", wine_zone, failures, len(rows), ambiguous


def main():
    probe = sys.argv[1]
    year = dt.datetime.now(UTC).year
    names = zone_names()
    checked = instants = ambiguous = 0
    skipped = {"unmapped": [], "disagrees": [], "error": []}
    failures = []
    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        for name, status, wine_zone, problems, count, unclear in pool.map(
                lambda zone: check_zone(probe, zone, year), names):
            if status == "checked":
                checked += 1
                instants += count
                ambiguous += unclear
                failures.extend(problems)
            else:
                skipped[status].append(name if status != "disagrees" else
                                       "%s (as %s)" % (name, wine_zone))
                failures.extend(problems)
    print("zones in the host database: %d; year %d" % (len(names), year))
    print("zones Wine maps and reads like the host: %d, instants checked: %d "
          "(of which %d with a missing or doubled 00:00:30)" % (checked, instants, ambiguous))
    print("zones Wine does not map: %d: %s" % (len(skipped["unmapped"]),
                                               " ".join(skipped["unmapped"])))
    print("zones Wine maps to rules that read differently: %d: %s" % (
        len(skipped["disagrees"]), " ".join(skipped["disagrees"])))
    for failure in failures[:40]:
        print("FAIL", failure)
    if skipped["error"]:
        print("probe errors in: %s" % " ".join(skipped["error"]))
    # A harness that silently checks nothing must not pass.
    if failures or skipped["error"] or checked < 100:
        print("%d passed, %d failed" % (checked, len(failures)))
        return 1
    print("%d passed, 0 failed" % checked)
    return 0


if __name__ == "__main__":
    sys.exit(main())
