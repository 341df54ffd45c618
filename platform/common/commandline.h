// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PLATFORM_COMMANDLINE_H
#define PLATFORM_COMMANDLINE_H

// How every tool of the platform answers on its command line, so that a
// script can tell a mistake in its own call (status 2, with a pointer to
// --help) from a tool that could not do its work (status 1). Both go to
// standard error, prefixed with the tool's name; --help and --version are
// output, not diagnostics, and go to standard output.

#include <cstdarg>
#include <cstdio>

constexpr int FailureStatus = 1;
constexpr int UsageErrorStatus = 2;

namespace platform_detail {

inline void printDiagnostic(const char* tool, const char* format, std::va_list arguments)
{
    std::fprintf(stderr, "%s: ", tool);
    std::vfprintf(stderr, format, arguments);
    std::fputc('\n', stderr);
}

} // namespace platform_detail

// "<tool>: <message>" and the way to the usage; the usage error's status.
__attribute__((format(printf, 2, 3))) inline int usageError(const char* tool, const char* format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    platform_detail::printDiagnostic(tool, format, arguments);
    va_end(arguments);
    std::fprintf(stderr, "Try '%s --help'.\n", tool);
    return UsageErrorStatus;
}

// "<tool>: <reason>"; the status of a failure at run time.
__attribute__((format(printf, 2, 3))) inline int runtimeFailure(const char* tool, const char* format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    platform_detail::printDiagnostic(tool, format, arguments);
    va_end(arguments);
    return FailureStatus;
}

// "<tool> <version>" on standard output; --version's status.
inline int printVersion(const char* tool, const char* version)
{
    std::printf("%s %s\n", tool, version);
    return 0;
}

#endif
