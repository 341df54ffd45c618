// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// MimeTypeResolver on the installed glob file, next to QMimeDatabase (by
// extension) and GLib's content-type guess by name, in one run: a cold miss,
// a cold hit, a warm hit, and a batch of 10,000 mixed names. Prints the
// figures and the ratios.
#include <Pavane/MimeTypeResolver>

#include "benchsupport.h"
#include "content/mimetyperesolver_p.h"

#include <QCoreApplication>
#include <QMimeDatabase>
#include <QStringList>

#include <benchmark/benchmark.h>
#include <gio/gio.h>

#include <cstdio>

using Pavane::MimeTypeResolver;

namespace {

const QString GlobFile = QStringLiteral("/usr/share/mime/globs2");

QStringList mixedNames()
{
    static const QStringList extensions{
        "pdf", "jpg", "JPG", "png", "gif", "mp3", "ogg", "mp4", "avi", "txt", "vcf", "doc", "xls", "ppt",
        "html", "css", "js", "c", "cpp", "h", "py", "tar.gz", "zip", "deb", "iso", "svg", "odt", "ods",
        "wav", "flac", "mkv", "webm", "json", "xml", "csv", "md", "rst", "sh", "conf", "log", "unknownext"};
    QStringList names;
    names.reserve(10000);
    quint32 seed = 1;
    for (int i = 0; i < 10000; ++i) {
        seed = seed * 1103515245 + 12345;
        names << QStringLiteral("/home/user/files/item%1.%2").arg(i).arg(extensions.at(int(seed >> 16) % extensions.size()));
    }
    return names;
}

void Resolver_ColdMiss(benchmark::State& state)
{
    Pavane::MimeTypeResolverInternal::setGlobFilePath(GlobFile);
    for (auto _ : state)
        benchmark::DoNotOptimize(MimeTypeResolver::mimeTypeForFilePath(QStringLiteral("data.nothingknown")));
}

void Resolver_ColdHit(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        Pavane::MimeTypeResolverInternal::setGlobFilePath(GlobFile);
        state.ResumeTiming();
        benchmark::DoNotOptimize(MimeTypeResolver::mimeTypeForFilePath(QStringLiteral("report.pdf")));
    }
}

void Resolver_WarmHit(benchmark::State& state)
{
    Pavane::MimeTypeResolverInternal::setGlobFilePath(GlobFile);
    MimeTypeResolver::mimeTypeForFilePath(QStringLiteral("photo.jpg"));
    for (auto _ : state)
        benchmark::DoNotOptimize(MimeTypeResolver::mimeTypeForFilePath(QStringLiteral("/home/user/photo.jpg")));
}

void Resolver_Batch(benchmark::State& state)
{
    const QStringList names = mixedNames();
    for (auto _ : state) {
        state.PauseTiming();
        Pavane::MimeTypeResolverInternal::setGlobFilePath(GlobFile);
        state.ResumeTiming();
        for (const QString& name : names)
            benchmark::DoNotOptimize(MimeTypeResolver::mimeTypeForFilePath(name));
    }
}

void QMimeDatabase_WarmHit(benchmark::State& state)
{
    QMimeDatabase db;
    for (auto _ : state)
        benchmark::DoNotOptimize(db.mimeTypeForFile(QStringLiteral("/home/user/photo.jpg"), QMimeDatabase::MatchExtension).name());
}

void QMimeDatabase_Batch(benchmark::State& state)
{
    const QStringList names = mixedNames();
    QMimeDatabase db;
    for (auto _ : state) {
        for (const QString& name : names)
            benchmark::DoNotOptimize(db.mimeTypeForFile(name, QMimeDatabase::MatchExtension).name());
    }
}

void GContentType_WarmHit(benchmark::State& state)
{
    for (auto _ : state) {
        gchar* type = g_content_type_guess("/home/user/photo.jpg", nullptr, 0, nullptr);
        benchmark::DoNotOptimize(type);
        g_free(type);
    }
}

void GContentType_Batch(benchmark::State& state)
{
    const QStringList names = mixedNames();
    QList<QByteArray> utf8;
    for (const QString& name : names)
        utf8 << name.toUtf8();
    for (auto _ : state) {
        for (const QByteArray& name : utf8) {
            gchar* type = g_content_type_guess(name.constData(), nullptr, 0, nullptr);
            benchmark::DoNotOptimize(type);
            g_free(type);
        }
    }
}

void summary(const BenchSupport::MedianReporter::Medians& medians)
{
    auto median = [&](const char* name) { return medians.at(name).begin()->second; };
    const double warm = median("Resolver_WarmHit");
    const double gioWarm = median("GContentType_WarmHit");
    const double qtWarm = median("QMimeDatabase_WarmHit");
    const double coldMiss = median("Resolver_ColdMiss");
    const double coldHit = median("Resolver_ColdHit");
    std::printf("Medians (real time, microseconds):\n");
    std::printf("  MimeTypeResolver warm hit        %10.3f   %6.2fx g_content_type_guess, %6.3fx QMimeDatabase\n",
                warm, warm / gioWarm, warm / qtWarm);
    std::printf("  g_content_type_guess             %10.3f\n", gioWarm);
    std::printf("  QMimeDatabase (extension)        %10.3f\n", qtWarm);
    std::printf("  MimeTypeResolver cold miss       %10.1f   (whole file read)\n", coldMiss);
    std::printf("  MimeTypeResolver cold hit        %10.1f   (report.pdf, empty cache)\n", coldHit);
    const double batch = median("Resolver_Batch");
    std::printf("  10,000 names: resolver %.0f us, g_content_type_guess %.0f us (%.2fx), QMimeDatabase %.0f us (%.2fx)\n",
                batch, median("GContentType_Batch"), batch / median("GContentType_Batch"), median("QMimeDatabase_Batch"),
                batch / median("QMimeDatabase_Batch"));
    std::printf("Goals: warm hit <= 2x g_content_type_guess: %s; cold lookup < 200 us: %s\n",
                warm <= 2 * gioWarm ? "met" : "MISSED", qMax(coldMiss, coldHit) < 200 ? "met" : "MISSED");
}

} // namespace

BENCHMARK(Resolver_WarmHit)->Apply(BenchSupport::commonSettings);
BENCHMARK(GContentType_WarmHit)->Apply(BenchSupport::commonSettings);
BENCHMARK(QMimeDatabase_WarmHit)->Apply(BenchSupport::commonSettings);
BENCHMARK(Resolver_ColdMiss)->Apply(BenchSupport::commonSettings);
BENCHMARK(Resolver_ColdHit)->Apply(BenchSupport::commonSettings);
BENCHMARK(Resolver_Batch)->Apply(BenchSupport::commonSettings);
BENCHMARK(GContentType_Batch)->Apply(BenchSupport::commonSettings);
BENCHMARK(QMimeDatabase_Batch)->Apply(BenchSupport::commonSettings);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    BenchSupport::MedianReporter reporter(summary);
    return BenchSupport::run(argc, argv, [] { return true; }, reporter);
}
