"""The figures the benchmarks give of a run of intervals, one definition for every script."""

import math


def p99(values):
    """The 99th percentile by nearest rank: the smallest value that at least 99% of them do not
    exceed; None for no values."""
    ordered = sorted(values)
    return ordered[max(0, math.ceil(0.99 * len(ordered)) - 1)] if ordered else None
