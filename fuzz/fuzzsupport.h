#pragma once
// What every fuzz target shares: the application object the readers expect, and a scratch folder
// for the readers that take a file name.
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace fuzz {

inline QCoreApplication &application()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// One folder for the whole run, in memory where the system offers it.
inline const QTemporaryDir &scratch()
{
    static const auto dir = [] {
        const QString shm = QStringLiteral("/dev/shm");
        const QString base = QDir(shm).exists() ? shm : QDir::tempPath();
        return std::make_unique<QTemporaryDir>(base + QStringLiteral("/velmorra-fuzz-XXXXXX"));
    }();
    return *dir;
}

// Writes the input to a file of the scratch folder and returns its path.
inline QString inputFile(const uint8_t *data, size_t size, const QString &name)
{
    const QString path = scratch().filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || f.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        std::abort();
    return path;
}

// A property of the program that the input broke: reported as a crash, with the input kept.
inline void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

} // namespace fuzz
