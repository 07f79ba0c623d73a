#!/usr/bin/env python3
"""Finds an icon in a screenshot of the taskbar's notification area.

icon_match.py SCREENSHOT.ppm ICON.pam [--absent]

The icon (straight alpha) is composited over the taskbar's own colour and compared with every
position in the bottom-right corner of the screenshot. Prints the best position and its
largest and mean channel difference. Exit 0 when the icon is there within the tolerance (or,
with --absent, when no position comes near it), 1 otherwise.
"""
import sys

MAX_DIFFERENCE = 24  # one channel of one pixel, after blending
MEAN_DIFFERENCE = 3.0
CORNER_WIDTH, CORNER_HEIGHT = 240, 24


def read_netpbm(path):
    with open(path, "rb") as file:
        data = file.read()
    if data.startswith(b"P7"):
        header_end = data.index(b"ENDHDR\n") + len(b"ENDHDR\n")
        fields = dict(line.split(b" ", 1) for line in data[:header_end].split(b"\n")[1:-2])
        width, height = int(fields[b"WIDTH"]), int(fields[b"HEIGHT"])
        depth = int(fields[b"DEPTH"])
        return width, height, depth, data[header_end:]
    if data.startswith(b"P6"):
        parts = []
        position = 2
        while len(parts) < 3:
            while data[position:position + 1].isspace():
                position += 1
            if data[position:position + 1] == b"#":
                position = data.index(b"\n", position)
                continue
            start = position
            while not data[position:position + 1].isspace():
                position += 1
            parts.append(int(data[start:position]))
        width, height, _ = parts
        return width, height, 3, data[position + 1:]
    raise ValueError("not a PPM or PAM file: " + path)


def main():
    screen_path, icon_path = sys.argv[1], sys.argv[2]
    absent = "--absent" in sys.argv[3:]
    width, height, _, screen = read_netpbm(screen_path)
    edge, edge_height, depth, icon = read_netpbm(icon_path)
    assert depth == 4 and edge == edge_height

    def pixel(x, y):
        offset = (y * width + x) * 3
        return screen[offset], screen[offset + 1], screen[offset + 2]

    left, top = max(0, width - CORNER_WIDTH), max(0, height - CORNER_HEIGHT)
    # The taskbar's colour: the most common one along the screen's bottom row.
    counts = {}
    for y in (height - 1,):
        for x in range(left, width):
            colour = pixel(x, y)
            counts[colour] = counts.get(colour, 0) + 1
    background = max(counts, key=counts.get)

    expected = []
    for index in range(edge * edge):
        red, green, blue, alpha = icon[index * 4:index * 4 + 4]
        expected.append(tuple(
            (channel * alpha + base * (255 - alpha) + 127) // 255
            for channel, base in zip((red, green, blue), background)))

    best = None
    for y in range(top, height - edge + 1):
        for x in range(left, width - edge + 1):
            largest = total = 0
            for row in range(edge):
                for column in range(edge):
                    want = expected[row * edge + column]
                    have = pixel(x + column, y + row)
                    for a, b in zip(want, have):
                        difference = abs(a - b)
                        total += difference
                        if difference > largest:
                            largest = difference
                if best is not None and largest > best[2]:
                    break
            mean = total / (edge * edge * 3)
            if best is None or (largest, mean) < (best[2], best[3]):
                best = (x, y, largest, mean)
    x, y, largest, mean = best
    print("best position %d,%d: largest difference %d, mean %.2f (background %s)" % (
        x, y, largest, mean, "#%02x%02x%02x" % background))
    found = largest <= MAX_DIFFERENCE and mean <= MEAN_DIFFERENCE
    return 0 if found != absent else 1


if __name__ == "__main__":
    sys.exit(main())
