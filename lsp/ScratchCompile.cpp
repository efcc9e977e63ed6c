// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScratchCompile.h"

#include "Batch.h"
#include "DefinitionIndex.h" // kMaxSourceBytes
#include "FileWrite.h"
#include "PathBytes.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

#include <system_error>

namespace fs = std::filesystem;

namespace talmo {

namespace {

constexpr std::size_t kMaxCopiedFiles = 20000;

bool copyMod(const fs::path& from, const fs::path& to) {
    std::error_code error;
    std::size_t copied = 0;
    auto it = fs::recursive_directory_iterator(from, fs::directory_options::skip_permission_denied,
                                               error);
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        const fs::path rel = it->path().lexically_relative(from);
        if (pathBytes(it->path().filename()).starts_with(".")) {
            if (it->is_directory(error))
                it.disable_recursion_pending();
            continue;
        }
        std::error_code typeError;
        if (it->is_directory(typeError)) {
            fs::create_directories(to / rel, typeError);
        } else if (it->is_regular_file(typeError) && it->file_size(typeError) <= kMaxSourceBytes &&
                   !typeError) {
            if (++copied > kMaxCopiedFiles)
                return false;
            fs::copy_file(it->path(), to / rel, typeError);
        }
    }
    return !error;
}

} // namespace

std::optional<std::string> compilerOnPath() {
    auto onPath = [](std::string_view name) {
        return !QStandardPaths::findExecutable(
                    QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())))
                    .isEmpty();
    };
    // The button's choice, which falls back on a name that may not be there.
    const std::string compiler = defaultCompiler(BatchDialect::Posix, onPath);
    if (!onPath(compiler))
        return std::nullopt;
    return compiler;
}

std::vector<CompilerMessage> compileInScratchCopy(const fs::path& root, const std::string& compiler,
                                                  const std::map<std::string, std::string>& texts,
                                                  int timeoutMs) {
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return {};
    // Removed here: Qt's removal misses file names that are no UTF-8.
    scratch.setAutoRemove(false);
    const fs::path copy = fs::path(scratch.path().toStdString());
    struct Remove {
        fs::path path;
        ~Remove() {
            std::error_code ignored;
            fs::remove_all(path, ignored);
        }
    } remove{copy};
    if (!copyMod(root, copy))
        return {};
    try {
        for (const auto& [name, text] : texts)
            writeGeneratedFileBytes(copy / pathOfBytes(name), text);
    } catch (const std::exception&) {
        return {};
    }
    QProcess run;
    run.setWorkingDirectory(scratch.path());
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.setStandardInputFile(QProcess::nullDevice());
    run.start(QString::fromStdString(compiler), {});
    if (!run.waitForFinished(timeoutMs)) {
        run.kill();
        run.waitForFinished(1000);
        return {};
    }
    const QByteArray output = run.readAll();
    std::vector<CompilerMessage> messages =
        parseCompilerMessages(std::string_view(output.constData(), output.size()));
    for (CompilerMessage& m : messages) {
        if (m.file.empty())
            continue;
        const fs::path written = pathOfBytes(m.file);
        const fs::path inCopy =
            (written.is_absolute() ? written : copy / written).lexically_normal();
        const fs::path rel = inCopy.lexically_relative(copy);
        const std::string name = pathBytes(rel.generic_string());
        if (!name.empty() && !name.starts_with(".."))
            m.file = name;
    }
    return messages;
}

} // namespace talmo
