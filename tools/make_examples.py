#!/usr/bin/env python3
"""Writes the sample titration curves of examples/ from equilibrium models.

Standard library only; the readings are rounded to 0.1 mV, or to 0.01 pH, as a laboratory meter
shows them:
    python3 tools/make_examples.py [output-folder]
For each curve in mV the script prints the equivalence volumes of the model and the volumes at
which the second difference of the generated points changes sign (what titrion3 lists). For each
curve in pH it prints what the model says (equivalence volumes, pKa, the volumes at pH 8.3 and
4.5) beside what the generated points give read as titrion3 reads them (set-value end points,
the half-neutralisation pH and the Gran end points).
One curve in mV and one in pH carry reading noise drawn from a fixed seed, so that every run
writes the same files.
"""
import math
import os
import random
import sys

SLOPE = 59.16  # mV per pH unit (or per decade of concentration ratio) at 25 degrees C


def solve_h(balance):
    """[H+] at which the charge balance (a function of log10 [H+], increasing) is zero."""
    lo, hi = -14.5, 0.5
    for _ in range(200):
        mid = (lo + hi) / 2
        if balance(mid) > 0:
            hi = mid
        else:
            lo = mid
    return 10 ** ((lo + hi) / 2)


def carbonate_with_hcl(v):
    """pH of 20.00 ml of 0.0500 M Na2CO3 after v ml of 0.1000 M HCl."""
    v0, c0, ca = 20.0, 0.05, 0.1
    total = v0 + v
    carbonate = c0 * v0 / total
    sodium = 2 * c0 * v0 / total
    chloride = ca * v / total
    ka1, ka2, kw = 10 ** -6.35, 10 ** -10.33, 1e-14

    def balance(log_h):
        h = 10 ** log_h
        d = h * h + ka1 * h + ka1 * ka2
        hco3 = carbonate * ka1 * h / d
        co3 = carbonate * ka1 * ka2 / d
        return h + sodium - kw / h - hco3 - 2 * co3 - chloride
    return -math.log10(solve_h(balance))


def hcl_with_naoh(v):
    """pH of 25.00 ml of 0.1000 M HCl after v ml of 0.1000 M NaOH."""
    v0, ca, cb = 25.0, 0.1, 0.1
    total = v0 + v
    chloride = ca * v0 / total
    sodium = cb * v / total
    kw = 1e-14

    def balance(log_h):
        h = 10 ** log_h
        return h + sodium - kw / h - chloride
    return -math.log10(solve_h(balance))


def phosphoric_with_naoh(v):
    """pH of 25.00 ml of 0.0500 M H3PO4 after v ml of 0.1000 M NaOH."""
    v0, c0, cb = 25.0, 0.05, 0.1
    total = v0 + v
    phosphate = c0 * v0 / total
    sodium = cb * v / total
    ka1, ka2, ka3, kw = 10 ** -2.15, 10 ** -7.20, 10 ** -12.35, 1e-14

    def balance(log_h):
        h = 10 ** log_h
        d = h ** 3 + ka1 * h * h + ka1 * ka2 * h + ka1 * ka2 * ka3
        charge = (ka1 * h * h + 2 * ka1 * ka2 * h + 3 * ka1 * ka2 * ka3) / d
        return h + sodium - kw / h - phosphate * charge
    return -math.log10(solve_h(balance))


def acetic_with_naoh(v):
    """pH of 25.00 ml of 0.1000 M acetic acid (pKa 4.76) after v ml of 0.1000 M NaOH."""
    v0, c0, cb = 25.0, 0.1, 0.1
    total = v0 + v
    acid = c0 * v0 / total
    sodium = cb * v / total
    ka, kw = 10 ** -4.76, 1e-14

    def balance(log_h):
        h = 10 ** log_h
        return h + sodium - kw / h - acid * ka / (ka + h)
    return -math.log10(solve_h(balance))


# 100.0 ml of water with 0.400 mmol/l CO3 2- and 3.000 mmol/l HCO3 - titrated with 0.0200 M HCl:
# p-alkalinity 0.4 mmol/l (2.00 ml, CO3 2- -> HCO3 -), m-alkalinity 3.8 mmol/l (19.00 ml, -> H2CO3).
WATER = dict(v0=100.0, carbonate=0.0004, hydrogencarbonate=0.003, acid=0.02)


def water_with_hcl(v):
    """pH of the water sample WATER after v ml of its hydrochloric acid (no CO2 escapes)."""
    w = WATER
    total = w["v0"] + v
    carbon = (w["carbonate"] + w["hydrogencarbonate"]) * w["v0"] / total
    sodium = (2 * w["carbonate"] + w["hydrogencarbonate"]) * w["v0"] / total
    chloride = w["acid"] * v / total
    ka1, ka2, kw = 10 ** -6.35, 10 ** -10.33, 1e-14

    def balance(log_h):
        h = 10 ** log_h
        d = h * h + ka1 * h + ka1 * ka2
        return h + sodium - kw / h - carbon * (ka1 * h + 2 * ka1 * ka2) / d - chloride
    return -math.log10(solve_h(balance))


def iron_with_cerium(v):
    """Potential in mV against the saturated calomel electrode of 25.00 ml of 0.1000 M Fe2+
    in 1 M H2SO4 after v ml of 0.1000 M Ce4+ (formal potentials 680 and 1440 mV)."""
    v0, c_fe, c_ce = 25.0, 0.1, 0.1
    e_fe, e_ce, sce = 680.0, 1440.0, 241.0
    fe_total = c_fe * v0
    ce_total = c_ce * v
    # Equilibrium Fe2+ + Ce4+ = Fe3+ + Ce3+: one potential E for both couples.

    def excess(e):
        r_fe = 10 ** ((e - e_fe) / SLOPE)  # Fe3+/Fe2+
        r_ce = 10 ** ((e - e_ce) / SLOPE)  # Ce4+/Ce3+
        fe3 = fe_total * r_fe / (1 + r_fe)
        ce3 = ce_total / (1 + r_ce)
        return fe3 - ce3  # electrons taken from iron minus electrons given to cerium
    lo, hi = 0.0, 2000.0
    for _ in range(200):
        mid = (lo + hi) / 2
        if excess(mid) > 0:
            hi = mid
        else:
            lo = mid
    return (lo + hi) / 2 - sce


# A water sample with 0.0200 mol/l chloride (709.06 mg/l) in replicate aliquots titrated with
# 0.0500 M AgNO3; silver electrode (formal potential 558 mV against the calomel electrode),
# AgCl (Ksp 1.8e-10) coating it from the start.
CHLORIDE = dict(c=0.0200, silver=0.0500, molar_mass=35.453, ksp=1.8e-10, e0=558.0)


def chloride_with_silver(v0):
    """Potential in mV of v0 ml of the CHLORIDE sample after v ml of its silver nitrate:
    [Ag+] - [Cl-] is the excess of silver added, [Ag+][Cl-] = Ksp."""
    w = CHLORIDE

    def model(v):
        total = v0 + v
        excess = (w["silver"] * v - w["c"] * v0) / total
        silver = (excess + math.sqrt(excess * excess + 4 * w["ksp"])) / 2
        return w["e0"] + SLOPE * math.log10(silver)
    return model


def chloride_replicates(out):
    """Four aliquots of the CHLORIDE sample, each file with its determination. What differs
    between replicates, as in a laboratory: the pipetted volume (0.1 % standard deviation) and
    the burette's reading (0.005 ml); the meter shows 0.1 mV."""
    w = CHLORIDE
    known = w["c"] * w["molar_mass"] * 1000.0
    results = []
    for k, nominal in enumerate([20.0, 25.0, 25.0, 30.0]):
        rng = random.Random(2200 + k)
        v0 = nominal * (1 + rng.gauss(0.0, 0.001))
        offset = rng.gauss(0.0, 0.005)
        model = chloride_with_silver(v0)
        v_ep = w["c"] * nominal / w["silver"]
        vols = volumes((0, v_ep - 2, 1.0), (v_ep - 2, v_ep - 0.6, 0.2), (v_ep - 0.6, v_ep + 0.6, 0.05),
                       (v_ep + 0.6, v_ep + 2, 0.2), (v_ep + 2, v_ep + 5, 1.0))
        points = [(v, round(model(v + offset), 1)) for v in vols]
        name = "chloridy-agno3-%d.tid" % (k + 1)
        write(os.path.join(out, name),
              ["Stanovení chloridů ve vodě: %s ml vzorku titrováno 0,0500 M AgNO3, stříbrná elektroda proti"
               " nasycené kalomelové, E v mV." % g6(nominal).replace(".", ","),
               "Opakované stanovení %d ze 4; obsah chloridů 709,06 mg/l (0,0200 mol/l)." % (k + 1),
               "Stanovení.druh = obsah analytu", "Stanovení.titrant = AgNO3", "Stanovení.c = 0,05 mol/l",
               "Stanovení.titr = 1", "Stanovení.analyt = Cl-", "Stanovení.M = 35,453 g/mol", "Stanovení.z = 1",
               "Stanovení.bod ekvivalence = 1.", "Stanovení.slepý pokus = 0 ml",
               "Stanovení.vzorek = %s ml" % g6(nominal).replace(".", ","), "Stanovení.jednotka = mg/l",
               "Stanovení.desetinná místa = 1"], points)
        found = recalc([(float(g6(v)), float(g6(e))) for v, e in points])
        result = found[0][0] * w["silver"] * w["molar_mass"] * 1000.0 / nominal if len(found) == 1 else float("nan")
        results.append(result)
        print("%s: %d points; model equivalence %.4f ml (true aliquot %.3f ml); sign changes of E'' at %s;"
              " result %.1f mg/l" % (name, len(points), w["c"] * v0 / w["silver"] - offset, v0,
                                     ", ".join("%.4f" % r[0] for r in found), result))
    mean = sum(results) / len(results)
    s = math.sqrt(sum((x - mean) ** 2 for x in results) / (len(results) - 1))
    print("  chloride replicates: mean %.2f mg/l, s %.2f mg/l, RSD %.2f %%, 95 %% CI +- %.2f mg/l;"
          " known %.2f mg/l (%+.2f %%)" % (mean, s, 100 * s / mean, 3.182 * s / 2, known, 100 * (mean / known - 1)))


def volumes(*ranges):
    """Concatenated arithmetic runs (start, stop, step), stop included, without repeats."""
    out = []
    for start, stop, step in ranges:
        n = int(round((stop - start) / step))
        for k in range(n + 1):
            v = round(start + k * step, 4)
            if not out or v > out[-1]:
                out.append(v)
    return out


def titrator(model, to_mv, stop, seed, noise=0.3, target=4.0, v_min=0.01, v_max=0.1):
    """The points of an automatic titrator dosing dynamically: each volume step aims at a change
    of `target` mV at the slope of the last step, within v_min to v_max ml, and the burette
    doses to 0.001 ml. Each reading carries Gaussian noise of `noise` mV (standard deviation)."""
    rng = random.Random(seed)

    def read(v):
        return round(to_mv(model(v)) + rng.gauss(0.0, noise), 1)
    points = [(0.0, read(0.0))]
    step = v_min
    while points[-1][0] < stop:
        v = round(min(points[-1][0] + step, stop), 3)
        points.append((v, read(v)))
        (v1, e1), (v2, e2) = points[-2:]
        slope = abs(e2 - e1) / (v2 - v1)
        step = min(v_max, max(v_min, target / slope)) if slope > 0 else v_max
    return points


def recalc(points):
    """The evaluation of titrion3: volumes where the second difference changes sign."""
    vb = [p[0] for p in points]
    e = [p[1] for p in points]
    de = [(e[k + 1] - e[k]) / (vb[k + 1] - vb[k]) for k in range(len(points) - 1)]
    d2e = [(de[k + 1] - de[k]) / ((vb[k + 2] - vb[k]) / 2.0) for k in range(len(points) - 2)]
    results = []
    if not d2e:
        return results
    prev = d2e[0] > 0.0
    for i in range(1, len(d2e)):
        state = d2e[i] > 0.0
        if state != prev:
            x1, x2, y1, y2 = vb[i], vb[i + 1], d2e[i - 1], d2e[i]
            results.append((x1 + y1 / (y1 - y2) * (x2 - x1), y1, y2))
            prev = state
    return results


def measure_ph(model, vols, seed=None, noise=0.0):
    """Readings of a pH meter showing 0.01 pH, with Gaussian noise of `noise` pH (standard
    deviation) drawn from `seed`."""
    rng = random.Random(seed)
    return [(v, round(model(v) + (rng.gauss(0.0, noise) if noise else 0.0), 2)) for v in vols]


def volume_at_ph(model, ph, lo, hi):
    """The volume at which the model's pH, monotonic in [lo, hi], equals `ph`."""
    rising = model(hi) > model(lo)
    for _ in range(100):
        mid = (lo + hi) / 2
        if (model(mid) < ph) == rising:
            lo = mid
        else:
            hi = mid
    return (lo + hi) / 2


def first_reach(points, value):
    """The volume at which the points first reach `value`, linearly interpolated; None if never."""
    for k, (v, y) in enumerate(points):
        if y == value:
            return v
        if k and (points[k - 1][1] < value) != (y < value):
            (v1, y1) = points[k - 1]
            return v1 + (v - v1) * (value - y1) / (y - y1)
    return None


def ph_at(points, volume):
    """The pH at `volume`, linearly interpolated between the points around it."""
    for (v1, y1), (v2, y2) in zip(points, points[1:]):
        if v1 <= volume <= v2:
            return y1 + (y2 - y1) * (volume - v1) / (v2 - v1)
    return None


def gran(points, v0, v_from, v_to, before_weak, pkw=14.0):
    """Least-squares Gran line of an acid titrated with a base: after the equivalence point
    F = (V0 + V) 10^(pH - pKw) = c (V - Ve); before it, for a weak acid, F = V 10^-pH = Ka (Ve - V).
    Returns the end point -a/b, its standard error and -b."""
    xy = [(v, v * 10 ** -ph if before_weak else (v0 + v) * 10 ** (ph - pkw))
          for v, ph in points if v_from <= v <= v_to]
    n = len(xy)
    mx = sum(x for x, _ in xy) / n
    my = sum(y for _, y in xy) / n
    sxx = sum((x - mx) ** 2 for x, _ in xy)
    b = sum((x - mx) * (y - my) for x, y in xy) / sxx
    a = my - b * mx
    x0 = -a / b
    s = math.sqrt(sum((y - a - b * x) ** 2 for x, y in xy) / (n - 2))
    return x0, abs(s / b) * math.sqrt(1.0 / n + (x0 - mx) ** 2 / sxx), -b


# The line that makes a document's values pH (the program reads a file without it as mV).
PH_LINE = "Veličina = pH"
# The m-alkalinity as the determination of the water sample: the volume to pH 4,5, and both set
# values in the result list. 0.0200 mol/l x 19.00 ml / 100 ml = 3.80 mmol/l.
ALKALINITY = ["Stanovení." + line for line in [
    "druh = obsah analytu", "titrant = HCl", "c = 0,02 mol/l", "titr = 1", "analyt = alkalita m",
    "M = 61,017 g/mol", "z = 1", "bod ekvivalence = pH 4,5", "slepý pokus = 0 ml", "vzorek = 100 ml",
    "jednotka = mmol/l", "desetinná místa = 2", "nastavené hodnoty = 8,3; 4,5"]]


def g6(x):
    return "%g" % x


def write(path, comments, points):
    with open(path, "w", encoding="utf-8", newline="\r\n") as f:
        f.write("# Titrionika 2.0\n")
        for line in comments:
            f.write("# " + line + "\n")
        f.write("\n")
        for vb, e in points:
            f.write("%s\t%s\n" % (g6(vb), g6(e)))


def measure(model, to_mv, vols):
    return [(v, round(to_mv(model(v)), 1)) for v in vols]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "examples")
    os.makedirs(out, exist_ok=True)
    glass = lambda ph: 415.0 - SLOPE * ph  # glass electrode against a calomel reference

    samples = [
        ("uhlicitan-hcl.tid",
         ["Titrace 20,00 ml 0,0500 M Na2CO3 odměrným roztokem 0,1000 M HCl.",
          "Skleněná elektroda proti nasycené kalomelové, E v mV.",
          "Bod ekvivalence 1: 10,00 ml (CO3 2- -> HCO3 -), bod ekvivalence 2: 20,00 ml (HCO3 - -> H2CO3)."],
         measure(carbonate_with_hcl, glass,
                 volumes((0, 8, 1), (8, 9, 0.5), (9, 11, 0.2), (11, 12, 0.5), (12, 18, 1), (18, 19, 0.5),
                         (19, 21, 0.2), (21, 22, 0.5), (22, 26, 1))),
         [10.0, 20.0]),
        ("hcl-naoh.tid",
         ["Titrace 25,00 ml 0,1000 M HCl odměrným roztokem 0,1000 M NaOH.",
          "Skleněná elektroda proti nasycené kalomelové, E v mV.",
          "Bod ekvivalence: 25,00 ml."],
         measure(hcl_with_naoh, glass,
                 volumes((0, 20, 2), (20, 23, 1), (23, 24, 0.5), (24, 26, 0.1), (26, 27, 0.5), (27, 30, 1),
                         (30, 36, 2))),
         [25.0]),
        ("zelezo-cer.tid",
         ["Titrace 25,00 ml 0,1000 M Fe2+ v 1 M H2SO4 odměrným roztokem 0,1000 M Ce4+.",
          "Platinová elektroda proti nasycené kalomelové, E v mV.",
          "Prvních 15 ml přidáno najednou. Bod ekvivalence: 25,00 ml."],
         measure(iron_with_cerium, lambda e: e,
                 volumes((15, 21, 2), (21, 24, 1), (24, 26, 0.1), (26, 28, 1), (28, 34, 2))),
         [25.0]),
        ("fosforecna-naoh.tid",
         ["Titrace 25,00 ml 0,0500 M H3PO4 odměrným roztokem 0,1000 M NaOH automatickým titrátorem.",
          "Skleněná elektroda proti nasycené kalomelové, E v mV; přídavky 0,01 až 0,1 ml podle změny E, šum čtení 0,3 mV.",
          "Bod ekvivalence 1: 12,50 ml (H3PO4 -> H2PO4 -), bod ekvivalence 2: 25,00 ml (H2PO4 - -> HPO4 2-)."],
         titrator(phosphoric_with_naoh, glass, 30.0, seed=2026),
         [12.5, 25.0]),
    ]
    for name, comments, points, expected in samples:
        write(os.path.join(out, name), comments, points)
        found = recalc([(float(g6(v)), float(g6(e))) for v, e in points])
        listed = ", ".join("%.3f (E'' %.0f/%.0f)" % r for r in found) if len(found) < 10 else "%d volumes" % len(found)
        print("%s: %d points, equivalence %s ml; sign changes of E'' at %s" % (
            name, len(points), ", ".join("%.2f" % x for x in expected), listed))

    chloride_replicates(out)

    name = "octova-naoh.tid"
    points = measure_ph(acetic_with_naoh, volumes((0, 20, 1), (20, 24, 0.5), (24, 26, 0.1), (26, 30, 0.5), (30, 40, 1)),
                        seed=476, noise=0.005)
    write(os.path.join(out, name),
          ["Titrace 25,00 ml 0,1000 M kyseliny octové (pKa 4,76) odměrným roztokem 0,1000 M NaOH.",
           "Hodnoty jsou pH.",
           "Skleněná elektroda, šum čtení 0,005 pH. Bod ekvivalence: 25,00 ml.",
           PH_LINE], points)
    v_ep, v0 = 25.0, 25.0
    after = gran(points, v0, 1.05 * v_ep, min(points[-1][0], 1.5 * v_ep), False)
    before = gran(points, v0, 0.2 * v_ep, 0.9 * v_ep, True)
    print("%s: %d points; model: equivalence %.2f ml, pKa 4.76, pH %.4f at %.2f ml" % (
        name, len(points), v_ep, acetic_with_naoh(v_ep / 2), v_ep / 2))
    print("  half-neutralisation pH %.3f; Gran after EP %.4f +- %.4f ml (%+.2f %%);"
          " Gran before EP %.4f +- %.4f ml (%+.2f %%), Ka %.3e, pKa %.3f" % (
              ph_at(points, v_ep / 2), after[0], after[1], 100 * (after[0] / v_ep - 1),
              before[0], before[1], 100 * (before[0] / v_ep - 1), before[2], -math.log10(before[2])))

    name = "alkalita-hcl.tid"
    points = measure_ph(water_with_hcl, volumes((0, 1, 0.5), (1, 3, 0.2), (3, 16, 1), (16, 18, 0.5), (18, 20, 0.2),
                                                 (20, 22, 0.5), (22, 26, 1)))
    write(os.path.join(out, name),
          ["Titrace 100,0 ml vody (0,400 mmol/l CO3 2-, 3,000 mmol/l HCO3 -) odměrným roztokem 0,0200 M HCl.",
           "Hodnoty jsou pH.",
           "Alkalita p (do pH 8,3): 0,40 mmol/l, 2,00 ml; alkalita m (do pH 4,5): 3,80 mmol/l, 19,00 ml.",
           PH_LINE] + ALKALINITY, points)
    print("%s: %d points; model: equivalence 2.00, 19.00 ml; pH 8.3 at %.3f ml, pH 4.5 at %.3f ml" % (
        name, len(points), volume_at_ph(water_with_hcl, 8.3, 0, 10), volume_at_ph(water_with_hcl, 4.5, 10, 26)))
    print("  set-value end points: pH 8.3 at %.4f ml, pH 4.5 at %.4f ml" % (
        first_reach(points, 8.3), first_reach(points, 4.5)))


if __name__ == "__main__":
    main()
