"""Helpers shared by the reference-data generator and the benchmark: Zelvo's native text grids
read and written, the same nodes as a GeoTIFF that PROJ reads, and PROJ's cct run on points."""

import os
import struct
import subprocess


def write_native_grid(path, xmin, xmax, ymin, ymax, dx, dy, rows, description, decimals=3):
    """A native text grid in layout NW2E2S (north row first, each from the west), CR LF line
    ends, ISO 8859-1: a header of limits, increments, layout, values per node and description,
    then one node a line. `rows` lists the rows from the north, each a list of nodes, each a
    tuple of values."""
    count = len(rows[0][0])
    translation = " ".join(["0"] * count)
    lines = [f"{xmin:.15g} {xmax:.15g} {ymin:.15g} {ymax:.15g} {dx:.15g} {dy:.15g} 2 0 {count} 0 "
             f"{translation} {description}"]
    for row in rows:
        for node in row:
            lines.append(" ".join(f"{v:.{decimals}f}" for v in node))
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("latin-1"))


def read_native_grid(path):
    """Header fields and node values of a native text grid (layout NW2E2S: north row first)."""
    with open(path, encoding="latin-1") as f:
        header = f.readline().split()
        values = [float(v) for v in f.read().split()]
    xmin, xmax, ymin, ymax, dx, dy = (float(v) for v in header[:6])
    layout, count = int(header[6]), int(header[8])
    if layout != 2:
        raise SystemExit(f"{path}: layout {layout} is not converted")
    columns = round((xmax - xmin) / dx) + 1
    rows = round((ymax - ymin) / dy) + 1
    if len(values) != columns * rows * count:
        raise SystemExit(f"{path}: {len(values)} values for {columns} x {rows} x {count}")
    return xmin, ymax, dx, dy, columns, rows, count, values


def native_to_geotiff(source, target, descriptions, metadata):
    """A GeoTIFF that PROJ reads (pixel-is-area cells centred on the nodes), through a raw file
    and a GDAL VRT."""
    xmin, ymax, dx, dy, columns, rows, count, values = read_native_grid(source)
    raw = target + ".raw"
    with open(raw, "wb") as f:
        f.write(struct.pack(f"<{len(values)}d", *values))
    bands = "".join(
        f'<VRTRasterBand dataType="Float64" band="{b + 1}" subClass="VRTRawRasterBand">'
        f"<Description>{descriptions[b]}</Description>"
        f'<SourceFilename relativeToVRT="0">{raw}</SourceFilename>'
        f"<ImageOffset>{8 * b}</ImageOffset><PixelOffset>{8 * count}</PixelOffset>"
        f"<LineOffset>{8 * count * columns}</LineOffset><ByteOrder>LSB</ByteOrder></VRTRasterBand>"
        for b in range(count))
    vrt = target + ".vrt"
    with open(vrt, "w") as f:
        f.write(f'<VRTDataset rasterXSize="{columns}" rasterYSize="{rows}"><SRS>EPSG:4171</SRS>'
                f"<GeoTransform>{xmin - dx / 2!r}, {dx!r}, 0, {ymax + dy / 2!r}, 0, {-dy!r}</GeoTransform>"
                f"{bands}</VRTDataset>")
    command = ["gdal_translate", "-q", "-of", "GTiff", "-co", "INTERLEAVE=PIXEL"]
    for key, value in metadata.items():
        command += ["-mo", f"{key}={value}"]
    subprocess.run(command + [vrt, target], check=True)
    os.remove(raw)
    os.remove(vrt)


def cct(pipeline, points, digits=10, env=None):
    """The points (tuples of 2 to 4 numbers) through `cct -d digits pipeline`: one tuple of four
    output numbers per point. A point PROJ cannot transform gives infinities."""
    text = "".join(" ".join(repr(float(v)) for v in p) + "\n" for p in points)
    run = subprocess.run(["cct", "-d", str(digits)] + pipeline.split(), input=text, capture_output=True,
                         text=True, check=True, env=env)
    results = []
    for line in run.stdout.splitlines():
        words = line.split()
        if words:
            results.append(tuple(float(w) for w in words[:4]))
    if len(results) != len(points):
        raise SystemExit(f"cct gave {len(results)} lines for {len(points)} points: {run.stderr}")
    return results


def proj_version():
    """PROJ's release as cct prints it, e.g. '9.1.1'."""
    run = subprocess.run(["cct", "--version"], capture_output=True, text=True)
    words = (run.stdout + run.stderr).split()
    for i, word in enumerate(words):
        if word == "Rel." and i + 1 < len(words):
            return words[i + 1].rstrip(",")
    return "unknown"
