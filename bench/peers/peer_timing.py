"""Timing shared by the peer scripts."""
import statistics
import time


def median_ms(fn, repeats=7):
    """Runs fn `repeats` times: [median wall ms, median CPU ms]."""
    wall, cpu = [], []
    for _ in range(repeats):
        start, start_cpu = time.perf_counter(), time.process_time()
        fn()
        wall.append((time.perf_counter() - start) * 1000)
        cpu.append((time.process_time() - start_cpu) * 1000)
    return [statistics.median(wall), statistics.median(cpu)]
