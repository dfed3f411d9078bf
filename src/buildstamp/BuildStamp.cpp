#include "buildstamp/BuildStamp.h"

#include "buildstamp/VersionResource.h"

#include <QCoreApplication>
#include <QStringList>

#include <filesystem>
#include <system_error>

TBuildStamp::TBuildStamp(QObject* owner) : QObject(owner)
{
    setObjectName(QStringLiteral("BuildStamp"));
}

QString TBuildStamp::ProgramFileName()
{
    if (QCoreApplication::instance()) {
        const QString path = QCoreApplication::applicationFilePath();
        if (!path.isEmpty()) return path;
    }
    std::error_code ec;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? QString() : QString::fromStdString(path.string());
}

QString TBuildStamp::GetFileName() const
{
    return FileName.isEmpty() ? ProgramFileName() : FileName;
}

std::string TBuildStamp::Trim(const std::string& text)
{
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == '\x7F'; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && blank(text[first])) ++first;
    while (last > first && blank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

QString TBuildStamp::DottedPart(const QString& version, int index)
{
    const QStringList parts = version.split(QLatin1Char('.'));
    // Without a "." there is no major version either.
    if (parts.size() < 2 || index >= parts.size()) return QString();
    return parts[index];
}

QString TBuildStamp::Field(const char* name) const
{
    char buffer[260];
    uint32_t number = 0;
    const std::string file = GetFileName().toStdString();
    if (GetFileVersionField(file.c_str(), name, &number, sizeof buffer, buffer) == 0) return QString();
    return QString::fromUtf8(Trim(buffer));
}

// The meta-object code goes into this file's object, so that every program and library built
// from railscope_buildstamp_objects has it, whichever CMake generator builds them.
#include "moc_BuildStamp.cpp"
