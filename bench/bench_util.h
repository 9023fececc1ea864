#pragma once
// What every benchmark line needs: the median of several timed runs, and the process's own
// memory figures.
#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

// The median of `repeats` runs (at least one), in milliseconds; work is given the run's number.
inline double MedianMs(int repeats, const std::function<void(int)>& work)
{
    std::vector<double> times;
    for (int i = 0; i < std::max(repeats, 1); ++i) {
        QElapsedTimer t;
        t.start();
        work(i);
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

inline double MedianMs(int repeats, const std::function<void()>& work)
{
    return MedianMs(repeats, [&work](int) { work(); });
}

// A figure of /proc/self/status in kB ("VmRSS:", "VmHWM:"); -1 when it cannot be read.
inline long StatusKb(const char* key)
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key)) return line.mid(int(std::strlen(key))).trimmed().split(' ').value(0).toLong();
    return -1;
}

inline long ResidentKb() { return StatusKb("VmRSS:"); }

// One line of the benchmark's table: our time beside the bare engine's, and their ratio.
inline void Line(const char* what, int cards, double ours, double bare)
{
    std::printf("%-44s %7d cards  %9.2f ms  bare %9.2f ms  ratio %5.2f\n", what, cards, ours, bare,
                bare > 0 ? ours / bare : 0.0);
}
