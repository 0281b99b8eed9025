#!/usr/bin/env python3
"""Writes the test fixtures of this folder. Every number here is made up by this script; the
layouts follow MMANA's exports (headers, field order, two or three decimals)."""

import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def write(name, lines, end="\r\n", encoding="ascii", final_end=True):
    text = end.join(lines) + (end if final_end else "")
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(text.encode(encoding))


def sweep_rows(start, step, count):
    rows = []
    for i in range(count):
        f = start + i * step
        x = (f - 14.15) / 0.25
        r = 25.5 + 4.0 * x
        jx = 6.0 + 40.0 * x
        rho = math.hypot(r - 50.0, jx) / math.hypot(r + 50.0, jx)
        swr = (1 + rho) / (1 - rho)
        ga = 7.3 + 0.4 * x - 0.3 * x * x
        fb = 20.0 - 6.0 * x * x
        rows.append("%.3f,%.2f,%.2f,%.2f,%.2f,%.2f" % (f, r, jx, swr, ga, fb))
    return rows


# Frequency sweeps: the 50-ohm header, a 75-ohm one with the "Ohm" spelling and a blank line
# at the end, and one matched at a frequency with lone CR line ends.
write("sweep_50ohm.csv",
      ["Freq(MHz),R(Om),jX(Om),SWR(50.0Om),Ga(dBi),F/B(dB)"] + sweep_rows(14.0, 0.05, 7))
write("sweep_75ohm_blank_lines.csv",
      ["Freq(MHz),R Ohm,jX Ohm,SWR(75.0Om),Ga(dBi),F/B(dB)"] + sweep_rows(14.0, 0.1, 2) + [""]
      + sweep_rows(14.2, 0.1, 2) + [""], end="\n")
write("sweep_matched_14150kHz_cr.csv",
      ["Freq(MHz),R(Om),jX(Om),SWR(14.150MHz),Ga(dBi),F/B(dB)"] + sweep_rows(14.1, 0.05, 3),
      end="\r")

# An optimisation table saved from MMANA: three sets of four rows, tab-separated, the best set
# starred, with status lines in between.
opt = ["No,Set,Parameter,R,jX,SWR,Ga,F/B,Elev"]
for s in range(1, 4):
    opt.append("Optim. step %d" % s)
    for k in range(4):
        no = (s - 1) * 4 + k + 1
        par = 5.20 + 0.05 * k
        r = 20.0 + 2.5 * k + s
        jx = -12.0 + 5.0 * k - s
        row = "%d\t%d\t%.3f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.1f" % (
            no, s, par, r, jx, 1.5 + 0.1 * k, 7.0 + 0.1 * s, 15.0 + k, 22.5)
        if s == 2 and k == 1:
            row += "*"
        opt.append(row)
    opt.append("No goal")
    opt.append("short line")
write("table_optimisation_3sets.csv", opt)

# A parameter sweep table with space-aligned columns, in descending parameter order.
val = ["Optimization of the reflector spacing",
       "No   Set  Val   Para    R       jX      SWR    Ga     F/B"]
for k in range(5):
    par = 3.00 - 0.25 * k
    val.append("%-4d %-4d %-6.3f %-7.2f %-7.2f %-6.2f %-6.2f %-6.2f %.1f" % (
        k + 1, 1, par, 18.0 + 3 * k, -20.0 + 6 * k, 2.0 - 0.2 * k, 6.8 + 0.1 * k,
        12.0 + k, 25.0))
write("table_val_descending.csv", val, end="\n")

# A table in Windows-1251 with Russian header words and comma-separated rows.
ru = ["Optim: длина вибратора",
      "No,Set,Val,Длина,R,jX,КСВ,Усил,F/B"]
for k in range(3):
    ru.append("%d,1,%.2f,%.3f,%.2f,%.2f,%.2f,%.2f,%.2f" % (
        k + 1, 10.0 + k, 5.1 + 0.1 * k, 30.0 + k, -5.0 + k, 1.7, 7.1, 14.0))
write("table_cp1251_russian.csv", ru, encoding="cp1251")

# A table whose header names no reactance column: nothing to put on a Smith chart.
nojx = ["No,Set,Parameter,R,SWR,Ga,F/B,Elev,Loss"]
for k in range(3):
    nojx.append("%d,1,%.3f,%.2f,%.2f,%.2f,%.2f,%.1f,%.2f" % (
        k + 1, 5.2 + 0.05 * k, 21.0 + 2.5 * k, 1.5 + 0.1 * k, 7.1, 15.0 + k, 22.5, 0.1))
write("table_no_reactance.csv", nojx)

# Japanese MMANA writes Windows-932 (Shift-JIS) and the ohm sign in its headers: a sweep and a
# table with Japanese header words.
write("sweep_cp932_ohm_sign.csv",
      ["Freq(MHz),R(Ω),jX(Ω),SWR(50.0Ω),Ga(dBi),F/B(dB)"] + sweep_rows(14.0, 0.1, 4),
      encoding="cp932")
ja = ["Optim: 放射器の長さ",
      "No,Set,Val,長さ,R(Ω),jX(Ω),SWR,Ga(dBi),F/B(dB)"]
for k in range(3):
    ja.append("%d,1,%.2f,%.3f,%.2f,%.2f,%.2f,%.2f,%.2f" % (
        k + 1, 20.0 + k, 10.2 + 0.05 * k, 60.0 + 2 * k, 4.0 - k, 1.25 + 0.05 * k, 2.1, 0.0))
write("table_cp932_japanese.csv", ja, encoding="cp932")

# Wire currents: wire 1 along Z from the origin (5 pulses at equal steps), wire 2 a horizontal
# wire off the origin (4 pulses), wire 3 a single pulse.
cur = ["WIRE,PULSE,X(m),Y(m),Z(m),REAL(A),IMAGINARY(A),MAGNITUDE(A),PHASE(DEG)"]
pulse = 0
for i in range(5):
    pulse += 1
    z = 1.0 * (i + 1)
    re, im = 0.020 - 0.003 * i, -0.004 + 0.001 * i
    cur.append("1,%d,0.000,0.000,%.3f,%.5f,%.5f,%.5f,%.2f" % (
        pulse, z, re, im, math.hypot(re, im), math.degrees(math.atan2(im, re))))
for i in range(4):
    pulse += 1
    y = -3.0 + 2.0 * i
    re, im = 0.010 + 0.002 * i, 0.003
    cur.append("2,%d,0.000,%.3f,10.000,%.5f,%.5f,%.5f,%.2f" % (
        pulse, y, re, im, math.hypot(re, im), math.degrees(math.atan2(im, re))))
pulse += 1
cur.append("3,%d,5.000,0.000,0.000,0.00100,0.00200,0.00224,63.45" % pulse)
write("currents_3wires.csv", cur)


def near_lines(unit_header, points):
    lines = ["X(m),Y(m),Z(m),VECTOR,REAL(%s),IMAGINARY(%s),MAGNITUDE(%s),PHASE(DEG)"
             % (unit_header, unit_header, unit_header)]
    for (x, y, z, comps) in points:
        for name, (re, im) in zip(("X", "Y", "Z"), comps):
            lines.append("%.3f,%.3f,%.3f,%s,%.4f,%.4f,%.4f,%.2f" % (
                x, y, z, name, re, im, math.hypot(re, im), math.degrees(math.atan2(im, re))))
    return lines


# Electric near field: four points along X at Y 0.3 (rounds to 0) and Z 1; the third point's
# real parts cancel exactly; then a point at Y 2 that ends the line of points.
e_points = []
for i, x in enumerate((-1.0, -0.5, 0.0, 0.5)):
    if i == 2:
        comps = ((0.5, 0.25), (-0.25, 0.5), (-0.25, 0.25))
    else:
        comps = ((1.0 + i, 0.5), (0.25, -0.5 * i), (0.125, 0.0))
    e_points.append((x, 0.3 if i % 2 == 0 else 0.4, 1.0, comps))
e_points.append((1.0, 2.0, 1.0, ((9.0, 9.0), (9.0, 9.0), (9.0, 9.0))))
write("nearfield_electric.csv", near_lines("V/m", e_points))
write("nearfield_magnetic.csv", near_lines("AT/m", [
    (0.0, 0.0, 2.0, ((0.01, 0.002), (0.0, 0.0), (-0.003, 0.001))),
    (1.0, 0.0, 2.0, ((-0.02, 0.004), (0.0, 0.0), (0.001, -0.001)))]), end="\n")


def farfield(name, zeniths, azimuths, gain, end="\r\n"):
    lines = ["ZENITH(DEG),AZIMUTH(DEG),VERT(dBi),HORI(dBi),TOTAL(dBi)"]
    for az in azimuths:
        for zen in zeniths:
            v, h = gain(zen, az)
            t = 10 * math.log10(10 ** (v / 10) + 10 ** (h / 10))
            lines.append("%.1f,%.1f,%.2f,%.2f,%.2f" % (zen, az, v, h, t))
    write(name, lines, end=end)


def lobe(zen, az):
    # A lobe towards azimuth 0 at elevation 30, nothing below the horizon.
    if zen > 90:
        return (-999.0, -180.0)
    d = math.radians(az)
    h = 8.0 - 12.0 * (1 - math.cos(d)) - 0.004 * (zen - 60) ** 2
    return (-999.0 if zen == 0 else h - 20.0, h)


farfield("farfield_below_horizon_30deg.csv", [0, 30, 60, 90, 120, 150, 180],
         list(range(0, 360, 30)), lobe)
farfield("farfield_single_zenith.csv", [90], list(range(0, 360, 10)), lobe, end="\n")
