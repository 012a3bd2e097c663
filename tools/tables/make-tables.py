#!/usr/bin/env python3
"""Writes the benchmark truth tables of the README's comparison of the GA and
the evolution strategy as ".tbl" files into a folder (default: tables/).

    tools/tables/make-tables.py [FOLDER]

Input 0 is the most significant bit of a row number, as in the table editor.
"""
import os
import sys


def bits(row, inputs):
    return [(row >> (inputs - 1 - i)) & 1 for i in range(inputs)]


def parity(x):
    return [sum(x) % 2]


def mux4(x):
    # s1 s0 d0 d1 d2 d3: the data input the two select bits name.
    return [x[2 + (x[0] * 2 + x[1])]]


def adder2_carry(x):
    # a1 a0 b1 b0 c: the three bits of a + b + c.
    total = (x[0] * 2 + x[1]) + (x[2] * 2 + x[3]) + x[4]
    return [(total >> 2) & 1, (total >> 1) & 1, total & 1]


def full_adder(x):
    total = sum(x)
    return [total >> 1, total & 1]


def multiplier2(x):
    # a1 a0 b1 b0: the four bits of a * b.
    product = (x[0] * 2 + x[1]) * (x[2] * 2 + x[3])
    return [(product >> (3 - k)) & 1 for k in range(4)]


def symmetric(ones):
    return lambda x: [1 if sum(x) in ones else 0]


TABLES = [
    ("parity4", 4, parity),
    ("parity5", 5, parity),
    ("mux4", 6, mux4),
    ("fulladder", 3, full_adder),
    ("adder2c", 5, adder2_carry),
    ("mult2", 4, multiplier2),
    ("majority5", 5, symmetric({3, 4, 5})),
    ("two-of-five", 5, symmetric({2})),
    ("atleast4-of-6", 6, symmetric({4, 5, 6})),
]


def write(folder, name, inputs, function):
    rows = [function(bits(r, inputs)) for r in range(2 ** inputs)]
    with open(os.path.join(folder, name + ".tbl"), "w", newline="\n") as out:
        out.write("%d %d\n" % (inputs, len(rows[0])))
        for row in rows:
            out.write("".join("%d " % v for v in row) + "\n")


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "tables"
    os.makedirs(folder, exist_ok=True)
    for name, inputs, function in TABLES:
        write(folder, name, inputs, function)
        print(os.path.join(folder, name + ".tbl"))


if __name__ == "__main__":
    main()
