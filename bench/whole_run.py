#!/usr/bin/env python3
"""Whole-run throughput of zelvo's file mode against PROJ on the same points.

For each case a file of seeded, real-looking points over mainland France is written, zelvo
transforms it in file mode and PROJ (cs2cs, or cct for the grid pipelines) transforms the same
points with the same definitions, in the same run and pinned to the same core. The results are
compared point by point (1 mm), and points per second are printed for each program with the
ratio, as minimum / median / maximum over several runs, with the peak resident memory.

The reference catalogue and grids are read from the project's reference data (tests/data/reference,
or the folder given) and copied into a
temporary folder; the grids PROJ reads are converted there with GDAL. Nothing is written into the
repository.
"""

import argparse
import hashlib
import math
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "data"))
from proj_oracle import native_to_geotiff  # noqa: E402

# --- Definitions ------------------------------------------------------------------------------

# Catalogue numbers of the reference catalogue: systems 1 RGF93, 2 NTF; projections 6 Lambert II
# étendu, 9 Lambert 93; vertical system 1 NGF69.
CLARKE = "+a=6378249.2 +b=6356515"
GRS80 = "+ellps=GRS80"
# NTF Lambert II étendu: tangent cone at 52 grads, Paris meridian (2.5969213 grads).
PARIS_DEG = 2.5969213 * 0.9
L2E = f"+proj=lcc +lat_1=46.8 +lat_0=46.8 +lon_0={PARIS_DEG!r} +k_0=0.99987742 +x_0=600000 +y_0=2200000 {CLARKE}"
L93 = f"+proj=lcc +lat_1=49 +lat_2=44 +lat_0=46.5 +lon_0=3 +x_0=700000 +y_0=6600000 {GRS80}"

# Mainland France, roughly (longitude, latitude in degrees): inside every extent of the cases.
FRANCE = [
    (-4.70, 48.40), (-3.00, 48.85), (-1.60, 49.65), (0.10, 49.50), (1.60, 50.90), (2.50, 51.05),
    (4.20, 49.95), (5.80, 49.50), (8.15, 48.97), (7.55, 47.55), (6.90, 47.40), (6.10, 46.20),
    (7.00, 45.90), (6.95, 44.30), (7.50, 43.78), (6.60, 43.10), (4.50, 43.45), (3.10, 42.45),
    (1.50, 42.50), (-1.78, 43.35), (-1.25, 44.60), (-1.20, 46.20), (-2.20, 47.10), (-4.40, 47.80),
]


def inside(polygon, x, y):
    result = False
    j = len(polygon) - 1
    for i in range(len(polygon)):
        xi, yi = polygon[i]
        xj, yj = polygon[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            result = not result
        j = i
    return result


def france_points(count, seed):
    """(name, lon, lat, altitude) in degrees and metres: clustered like survey work."""
    rng = random.Random(seed)
    points = []
    centre = None
    while len(points) < count:
        # Surveys come in sites of a few hundred points within some kilometres.
        if centre is None or rng.random() < 0.004:
            while True:
                lon, lat = rng.uniform(-5, 8.3), rng.uniform(42.4, 51.1)
                if inside(FRANCE, lon, lat):
                    centre = (lon, lat, rng.uniform(0, 1800))
                    break
        lon = centre[0] + rng.gauss(0, 0.03)
        lat = centre[1] + rng.gauss(0, 0.02)
        if not inside(FRANCE, lon, lat):
            continue
        alt = max(-5.0, centre[2] + rng.gauss(0, 25))
        points.append((f"PT{len(points) + 1:07d}", lon, lat, alt))
    return points


def lambert_tangent(lon_deg, lat_deg):
    """NTF Lambert II étendu of an NTF position (only used to make the departure values)."""
    a, b = 6378249.2, 6356515.0
    e2 = 1 - (b / a) ** 2
    e = math.sqrt(e2)
    lat0 = math.radians(46.8)
    k0 = 0.99987742

    def iso(phi):
        s = math.sin(phi)
        return math.log(math.tan(math.pi / 4 + phi / 2)) + e / 2 * math.log((1 - e * s) / (1 + e * s))

    n = math.sin(lat0)
    r0 = k0 * a / math.sqrt(1 - e2 * math.sin(lat0) ** 2) / math.tan(lat0)
    l0 = iso(lat0)
    r = r0 * math.exp(-n * (iso(math.radians(lat_deg)) - l0))
    g = n * math.radians(lon_deg - PARIS_DEG)
    return 600000 + r * math.sin(g), 2200000 + r0 - r * math.cos(g)


# --- Files ------------------------------------------------------------------------------------

def write_inputs(folder, points):
    """Departure files of both programs: zelvo's with names, PROJ's with the values only."""
    files = {}
    with open(f"{folder}/l2e.txt", "w", newline="") as z, open(f"{folder}/l2e_proj.txt", "w") as p:
        for name, lon, lat, alt in points:
            e, n = lambert_tangent(lon, lat)
            z.write(f"{name} {e:.3f} {n:.3f} {alt:.3f}\r\n")
            p.write(f"{e:.3f} {n:.3f} {alt:.3f}\n")
    files["l2e"] = (f"{folder}/l2e.txt", f"{folder}/l2e_proj.txt")
    with open(f"{folder}/rgf.txt", "w", newline="") as z, open(f"{folder}/rgf_proj.txt", "w") as p:
        for name, lon, lat, alt in points:
            # The ellipsoidal height: about 50 m of geoid above the ellipsoid over France.
            h = alt + 50.0 + 0.3 * (lat - 46)
            z.write(f"{name} {lon:.9f} {lat:.9f} {h:.3f}\r\n")
            p.write(f"{lon:.9f} {lat:.9f} {h:.3f}\n")
    files["rgf"] = (f"{folder}/rgf.txt", f"{folder}/rgf_proj.txt")
    return files


def prepare(folder, reference):
    """The working folder of zelvo (catalogue, grids, configuration) and the PROJ grids."""
    work = f"{folder}/work"
    os.makedirs(f"{work}/grids")
    shutil.copy(f"{reference}/catalogue.dat", f"{work}/catalogue.dat")
    for name in os.listdir(f"{reference}/grids"):
        shutil.copy(f"{reference}/grids/{name}", f"{work}/grids/{name}")
        os.chmod(f"{work}/grids/{name}", 0o644)
    profile = f"{folder}/profile"
    os.makedirs(f"{profile}/Zelvo")
    with open(f"{profile}/Zelvo/zelvo.ini", "w", newline="") as f:
        f.write("[INFORMATIONS]\r\nTitre=Banc d'essai\r\n[DATA]\r\nData=catalogue.dat\r\n")
    proj = f"{folder}/proj"
    os.makedirs(proj)
    native_to_geotiff(f"{reference}/grids/ntf_rgf93_3d.mnt", f"{proj}/ntf_rgf93.tif",
                      ["x_translation", "y_translation", "z_translation"],
                      {"TYPE": "GEOCENTRIC_TRANSLATION"})
    native_to_geotiff(f"{reference}/grids/geoid_fr_egm96.mnt", f"{proj}/geoid_fr.tif",
                      ["geoid_undulation"], {"TYPE": "VERTICAL_OFFSET_GEOGRAPHIC_TO_VERTICAL"})
    return work, profile, proj


# --- Runs -------------------------------------------------------------------------------------

def run(command, cwd, env, core, stdin_path=None, stdout_path=None):
    """Wall time, CPU time and peak resident memory (kB) of one process, pinned to one core.

    GNU time measures the process: a child forked from this script would count the script's own
    memory as its peak (the peak survives exec)."""
    stdin = open(stdin_path, "rb") if stdin_path else subprocess.DEVNULL
    stdout = open(stdout_path, "wb") if stdout_path else subprocess.DEVNULL
    measures = os.path.join(cwd, ".measures")
    full = ["taskset", "-c", str(core), "/usr/bin/time", "-o", measures, "-f", "%U %S %M"] + command
    start = time.perf_counter()
    process = subprocess.run(full, cwd=cwd, env=env, stdin=stdin, stdout=stdout, stderr=subprocess.PIPE)
    wall = time.perf_counter() - start
    for f in (stdin, stdout):
        if f is not subprocess.DEVNULL:
            f.close()
    if process.returncode != 0:
        raise SystemExit(f"{command[0]} failed ({process.returncode}): {process.stderr.decode(errors='replace')}")
    with open(measures) as f:
        user, system, rss = f.read().split()[-3:]
    os.remove(measures)
    return wall, float(user) + float(system), int(rss)


def zelvo_values(path):
    values = []
    with open(path, "rb") as f:
        for line in f:
            fields = line.split()
            if not fields or fields[0].startswith(b"*"):
                raise SystemExit(f"{path}: unexpected line {line!r}")
            values.append([float(v) for v in fields[1:4]])
    return values


def proj_values(path):
    values = []
    with open(path, "rb") as f:
        for line in f:
            fields = line.split()
            values.append([float(v) for v in fields[:3]])
    return values


def compare(case, zelvo_out, proj_out, columns, tolerance):
    """Largest differences of E, N (and the altitude when columns is 3) between the results."""
    z = zelvo_values(zelvo_out)
    p = proj_values(proj_out)
    if len(z) != len(p):
        raise SystemExit(f"{case}: {len(z)} zelvo points, {len(p)} PROJ points")
    worst = [0.0] * columns
    where = [0] * columns
    for i, (a, b) in enumerate(zip(z, p)):
        for k in range(columns):
            d = abs(a[k] - b[k])
            if not d <= worst[k]:
                worst[k], where[k] = d, i
    failed = [k for k in range(columns) if not worst[k] <= tolerance]
    names = ["E", "N", "altitude"]
    text = ", ".join(f"{names[k]} {worst[k] * 1000:.3f} mm" for k in range(columns))
    if failed:
        k = failed[0]
        raise SystemExit(f"{case}: results differ: {text}; line {where[k] + 1}: zelvo {z[where[k]]}, "
                         f"PROJ {p[where[k]]}")
    return text


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--zelvo", default=os.path.join(here, "..", "build", "bin", "zelvo"))
    parser.add_argument("--reference", default=os.environ.get(
        "ZELVO_REFERENCE", os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "data", "reference")))
    parser.add_argument("--points", type=int, default=1_000_000)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--seed", type=int, default=20260)
    parser.add_argument("--core", type=int, default=None, help="CPU to pin both programs to (default: the last)")
    parser.add_argument("--cases", default="standard,grid,geoid")
    parser.add_argument("--workers", default=f"1,{os.cpu_count()}",
                        help="numbers of zelvo workers to measure (ZELVO_THREADS); 1 runs pinned to one core, "
                             "more on every core")
    parser.add_argument("--keep", action="store_true", help="keep the temporary folder")
    args = parser.parse_args()

    zelvo = os.path.abspath(args.zelvo)
    if not os.access(zelvo, os.X_OK):
        raise SystemExit(f"{zelvo}: not built (bash scripts/build.sh)")
    core = args.core if args.core is not None else max(os.sched_getaffinity(0))
    folder = tempfile.mkdtemp(prefix="zelvo-bench-")
    try:
        work, profile, proj = prepare(folder, args.reference)
        points = france_points(args.points, args.seed)
        files = write_inputs(folder, points)
        env = dict(os.environ, ALLUSERSPROFILE=profile, LC_ALL="C", PROJ_NETWORK="OFF")
        env_proj = dict(env, PROJ_DATA=f"{proj}:/usr/share/proj")

        zelvo_common = ["-mode", "1"]
        cases = {
            "standard": dict(
                title="NTF Lambert II étendu -> RGF93 Lambert 93, standard transformation",
                input="l2e",
                zelvo=["-type", "1", "-sys1", "2", "-sys2", "1", "-typcoor1", "3", "6", "-f1", "1"],
                zelvo_arrival=["-typcoor2", "3", "9", "-f2", "1"],
                proj=["cs2cs", "-f", "%.6f"] + f"{L2E} +towgs84=-168,-60,320 +to {L93} +towgs84=0,0,0".split(),
                columns=2,
                tool="cs2cs"),
            "grid": dict(
                title="NTF Lambert II étendu -> RGF93 Lambert 93, grid ntf_rgf93_3d",
                input="l2e",
                zelvo=["-type", "2", "-sys1", "2", "-sys2", "1", "-typcoor1", "3", "6", "-f1", "1"],
                zelvo_arrival=["-typcoor2", "3", "9", "-f2", "1"],
                proj=["cct", "-d", "6"] + (f"+proj=pipeline +step +inv {L2E} +step +proj=cart {CLARKE} "
                                           "+step +proj=xyzgridshift +grids=ntf_rgf93.tif +grid_ref=output_crs "
                                           f"{GRS80} +step +inv +proj=cart {GRS80} +step {L93}").split(),
                columns=2,
                tool="cct"),
            "geoid": dict(
                title="RGF93 geographic + ellipsoidal heights -> Lambert 93 + NGF69 altitudes (geoid grid)",
                input="rgf",
                zelvo=["-type", "1", "-sys1", "1", "-sys2", "1", "-alt", "1", "1",
                       "-typcoor1", "2", "2", "1", "-f1", "2"],
                zelvo_arrival=["-typcoor2", "3", "9", "-f2", "1"],
                proj=["cct", "-d", "6"] + ("+proj=pipeline +step +proj=unitconvert +xy_in=deg +xy_out=rad "
                                           "+step +proj=vgridshift +grids=geoid_fr.tif +multiplier=-1 "
                                           f"+step {L93}").split(),
                columns=3,
                tool="cct"),
        }
        print(f"{args.points} points, {args.runs} runs per program, pinned to CPU {core}")
        print(f"zelvo: {zelvo}")
        print(f"PROJ: {subprocess.run(['cs2cs'], capture_output=True, text=True).stderr.splitlines()[0]}")
        summary = []
        digests = {}
        for name in args.cases.split(","):
            case = cases[name]
            zin, pin = files[case["input"]]
            zout = f"{folder}/{name}_zelvo.txt"
            pout = f"{folder}/{name}_proj.txt"
            zcommand = [zelvo] + zelvo_common + case["zelvo"] + [zin] + case["zelvo_arrival"] + [zout]
            worker_counts = [int(w) for w in args.workers.split(",")]
            all_cores = ",".join(str(c) for c in sorted(os.sched_getaffinity(0)))
            z_runs = {w: [] for w in worker_counts}
            p_runs = []
            for _ in range(args.runs):
                for w in worker_counts:
                    z_runs[w].append(run(zcommand, work, dict(env, ZELVO_THREADS=str(w)), core if w == 1 else all_cores))
                    # Every number of workers writes the same bytes.
                    with open(zout, "rb") as f:
                        digest = hashlib.sha256(f.read()).hexdigest()
                    if digests.setdefault(name, digest) != digest:
                        raise SystemExit(f"{name}: zelvo x{w} wrote another arrival file than x{worker_counts[0]}")
                p_runs.append(run(case["proj"], proj, env_proj, core, stdin_path=pin, stdout_path=pout))
            agreement = compare(name, zout, pout, case["columns"], 0.001)
            p_rate = sorted(args.points / r[0] for r in p_runs)
            print(f"\n[{name}] {case['title']}")
            print(f"  agreement with PROJ (largest differences): {agreement}")
            rows = [(f"zelvo x{w}", sorted(args.points / r[0] for r in z_runs[w]), z_runs[w]) for w in worker_counts]
            rows.append((case["tool"], p_rate, p_runs))
            for label, rates, runs_ in rows:
                print(f"  {label:9s} pts/s  min {rates[0]:>10,.0f}  median {statistics.median(rates):>10,.0f}"
                      f"  max {rates[-1]:>10,.0f}   CPU {statistics.median(r[1] for r in runs_):.2f} s"
                      f"   peak RSS {max(r[2] for r in runs_) / 1024:.1f} MB")
            for w in worker_counts:
                ratios = sorted(p[0] / z[0] for z, p in zip(z_runs[w], p_runs))
                print(f"  ratio zelvo x{w}/{case['tool']} (same run)  min {ratios[0]:.2f}  median "
                      f"{statistics.median(ratios):.2f}  max {ratios[-1]:.2f}")
            for w in worker_counts[1:]:
                speedups = sorted(one[0] / many[0] for one, many in zip(z_runs[worker_counts[0]], z_runs[w]))
                print(f"  zelvo x{w} against x{worker_counts[0]} (same run)  min {speedups[0]:.2f}  median "
                      f"{statistics.median(speedups):.2f}  max {speedups[-1]:.2f}")
            first = worker_counts[0]
            z_rate = sorted(args.points / r[0] for r in z_runs[first])
            ratios = sorted(p[0] / z[0] for z, p in zip(z_runs[first], p_runs))
            # Memory does not grow with the file: the same run on a tenth of the points.
            small = f"{folder}/{name}_tenth.txt"
            with open(zin, "rb") as full, open(small, "wb") as part:
                for _ in range(max(1, args.points // 10)):
                    part.write(full.readline())
            small_command = [small if word == zin else word for word in zcommand]
            small_rss = run(small_command, work, env, core)[2]
            print(f"  zelvo peak RSS on {max(1, args.points // 10)} points: {small_rss / 1024:.1f} MB "
                  f"(on {args.points}: {max(r[2] for r in z_runs[first]) / 1024:.1f} MB)")
            summary.append((name, statistics.median(z_rate), statistics.median(p_rate), statistics.median(ratios),
                            max(r[2] for r in z_runs[first]) / 1024))
        print("\nsummary (medians)")
        for name, z, p, ratio, rss in summary:
            print(f"  {name:8s} zelvo {z:>10,.0f} pts/s   PROJ {p:>10,.0f} pts/s   ratio {ratio:.2f}   "
                  f"zelvo RSS {rss:.1f} MB")
    finally:
        if args.keep:
            print(f"kept {folder}")
        else:
            shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
