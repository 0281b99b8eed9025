#!/usr/bin/env python3
"""Writes the bundled sample files: a 3-element 20 m Yagi, 20 m over perfect ground.

The pattern is computed from first principles (half-wave dipole elements, a three-element
array factor and the image in the ground), so the files are ours and behave like MMANA's
exports: CR LF line ends, two decimals, -999.00 where a component vanishes.
"""
import cmath
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
FREQ_MHZ = 14.15
WAVELENGTH = 299.792458 / FREQ_MHZ
HEIGHT = 20.0
# Element positions along the boom (in wavelengths) and their currents: reflector, driven
# element, director.
ELEMENTS = [(-0.18, cmath.rect(0.85, math.radians(70))),
            (0.0, cmath.rect(1.0, 0.0)),
            (0.14, cmath.rect(0.75, math.radians(-80)))]


def field(zenith_deg, azimuth_deg):
    """Theta and phi field components of the array at a direction (arbitrary scale)."""
    t = math.radians(zenith_deg)
    p = math.radians(azimuth_deg)
    k = 2 * math.pi
    # Elements lie along y; the boom along x.
    cos_psi = math.sin(t) * math.sin(p)
    sin_psi2 = max(1e-12, 1 - cos_psi * cos_psi)
    element = math.cos(math.pi / 2 * cos_psi) / sin_psi2
    array = sum(i * cmath.exp(1j * k * x * math.sin(t) * math.cos(p)) for x, i in ELEMENTS)
    ground = 2j * math.sin(k * HEIGHT / WAVELENGTH * math.cos(t))
    common = element * array * ground
    e_theta = -math.cos(t) * math.sin(p) * common
    e_phi = -math.cos(p) * common
    return abs(e_theta) ** 2, abs(e_phi) ** 2


def directivity_scale():
    step = 1.0
    total = 0.0
    peak = 0.0
    z = step / 2
    while z < 90:
        a = step / 2
        while a < 360:
            v, h = field(z, a)
            total += (v + h) * math.sin(math.radians(z)) * math.radians(step) ** 2
            peak = max(peak, v + h)
            a += step
        z += step
    return 4 * math.pi / total


def dbi(power, scale):
    return -999.0 if power * scale < 1e-99 else max(-999.0, 10 * math.log10(power * scale))


def write_farfield(path, step):
    scale = directivity_scale()
    lines = ["ZENITH(DEG),AZIMUTH(DEG),VERT(dBi),HORI(dBi),TOTAL(dBi)"]
    for azimuth in range(0, 360, step):
        for zenith in range(0, 91, step):
            v, h = field(zenith, azimuth)
            lines.append("%.1f,%.1f,%.2f,%.2f,%.2f" % (
                zenith, azimuth, dbi(v, scale), dbi(h, scale), dbi(v + h, scale)))
    with open(path, "w", newline="") as out:
        out.write("\r\n".join(lines) + "\r\n")


def write_sweep(path):
    lines = ["Freq(MHz),R(Om),jX(Om),SWR(50.0Om),Ga(dBi),F/B(dB)"]
    for n in range(26):
        f = 13.9 + n * 0.02
        detune = (f - FREQ_MHZ) / FREQ_MHZ
        r = 28.0 + 140.0 * detune
        x = 1.5 + 900.0 * detune
        z = complex(r, x)
        gamma = abs((z - 50) / (z + 50))
        swr = (1 + gamma) / (1 - gamma)
        gain = 7.9 + 9.0 * detune - 1500.0 * detune * detune
        fb = 24.0 - 25000.0 * (detune - 0.002) ** 2
        lines.append("%.3f,%.2f,%.2f,%.2f,%.2f,%.2f" % (f, r, x, swr, gain, max(fb, 3.0)))
    with open(path, "w", newline="") as out:
        out.write("\r\n".join(lines) + "\r\n")


if __name__ == "__main__":
    write_farfield(os.path.join(HERE, "yagi3_20m_farfield.csv"), 5)
    write_sweep(os.path.join(HERE, "yagi3_20m_sweep.csv"))
