// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// From process start to the first painted frame: a connect sheet of the
// toolkit and the library (sheetframe_sheet) next to a plain Qt Widgets
// dialog with the same content (sheetframe_widgets). Each is started as a
// whole process, turn about, offscreen, with the same environment (and so the
// same fonts); a child prints the monotonic time once its first frame is
// painted and exits. Prints the medians, the minima and the ratio; a third
// child, the dialog with QtDBus loaded, shows the share of that library.
//
// Run it on private buses: tests/harness/with-private-buses bench_sheetframe [RUNS]
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

double monotonicSeconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Seconds from just before the child's exec to the frame it reports; a
// negative figure when it reported none.
double firstFrame(const std::string& program)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
    pid_t pid = 0;
    const double start = monotonicSeconds();
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        std::fprintf(stderr, "cannot start %s: %s\n", program.c_str(), std::strerror(spawned));
        return -1;
    }
    std::string output;
    char buffer[256];
    ssize_t size;
    while ((size = read(pipeFds[0], buffer, sizeof buffer)) > 0 || (size < 0 && errno == EINTR)) {
        if (size > 0)
            output.append(buffer, size_t(size));
    }
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || output.empty()) {
        std::fprintf(stderr, "%s painted no frame (status %d)\n", program.c_str(), status);
        return -1;
    }
    return std::strtod(output.c_str(), nullptr) - start;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("PAVANE_PRIVATE_BUSES")) {
        std::fprintf(stderr, "bench_sheetframe: run it through tests/harness/with-private-buses\n");
        return 1;
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
    std::string folder = argv[0];
    folder = folder.find('/') == std::string::npos ? "." : folder.substr(0, folder.rfind('/'));
    struct Child {
        const char* label;
        std::string program;
        std::vector<double> times;
    };
    // The third child is the dialog again with QtDBus and libdbus loaded at
    // start, as any process of the library loads them: its radio, offline,
    // display and notification classes talk to their services through QtDBus.
    // It shows how much of the gap is that floor.
    std::vector<Child> children = {
        {"connect sheet (toolkit)", folder + "/sheetframe_sheet", {}},
        {"Qt Widgets dialog", folder + "/sheetframe_widgets", {}},
        {"Qt Widgets dialog + QtDBus loaded", folder + "/sheetframe_widgets_qtdbus", {}},
    };

    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Messages on the terminal would slow the child that writes them.
    setenv("QT_LOGGING_RULES", "*.debug=false", 1);

    // One of each first: the libraries in the page cache for all.
    for (const Child& child : children) {
        if (firstFrame(child.program) < 0)
            return 1;
    }
    for (int i = 0; i < runs; ++i) {
        // Turn about, so that a change in the machine's load falls on all.
        for (Child& child : children) {
            const double seconds = firstFrame(child.program);
            if (seconds < 0)
                return 1;
            child.times.push_back(seconds * 1e3);
        }
    }
    std::printf("Process start to first painted frame, %d runs each (ms):\n", runs);
    for (const Child& child : children) {
        std::printf("  %-34s median %8.2f   min %8.2f\n", child.label, median(child.times),
                    *std::min_element(child.times.begin(), child.times.end()));
    }
    const double sheetMedian = median(children[0].times);
    const double ratio = sheetMedian / median(children[1].times);
    std::printf("  ratio of the medians %.3fx; goal <= 1.15x: %s\n", ratio, ratio <= 1.15 ? "met" : "MISSED");
    std::printf("  against the dialog with QtDBus loaded: %.3fx\n", sheetMedian / median(children[2].times));
    return 0;
}
