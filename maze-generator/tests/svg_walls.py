"""Reads a maze SVG back for the export test: checks that it is well-formed
XML with one wall path made only of whole-cell horizontal and vertical runs,
and prints what it holds, one item per line:
  width W / height H / viewbox V / title T / stroke S
  h X Y   the wall from (X, Y) to (X + 1, Y)
  v X Y   the wall from (X, Y) to (X, Y + 1)
  point X Y   a point of the solution polyline
Exits with 1 and a reason on standard error when the file is not like that."""
import re
import sys
import xml.etree.ElementTree as ET

NS = "{http://www.w3.org/2000/svg}"


def fail(why):
    print(why, file=sys.stderr)
    sys.exit(1)


root = ET.parse(sys.argv[1]).getroot()
if root.tag != NS + "svg":
    fail("root is " + root.tag)
for name in ("width", "height"):
    print(name, root.get(name))
print("viewbox", root.get("viewBox"))
titles = root.findall(NS + "title")
if len(titles) != 1:
    fail("%d titles" % len(titles))
print("title", titles[0].text)
paths = root.findall(NS + "path")
if len(paths) != 1:
    fail("%d paths" % len(paths))
print("stroke", paths[0].get("stroke-width"))
d = paths[0].get("d")
if re.fullmatch(r"(M-?\d+ -?\d+[HV]-?\d+)*", d) is None:
    fail("path data is not made of M x yHx / M x yVy runs: " + d[:80])
for x, y, kind, end in re.findall(r"M(-?\d+) (-?\d+)([HV])(-?\d+)", d):
    x, y, end = int(x), int(y), int(end)
    start = x if kind == "H" else y
    if end <= start:
        fail("run does not go right or down")
    for k in range(start, end):
        print("h", k, y) if kind == "H" else print("v", x, k)
for line in root.findall(NS + "polyline"):
    for point in line.get("points").split():
        print("point", *point.split(","))
