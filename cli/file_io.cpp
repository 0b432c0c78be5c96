#include "file_io.h"

#include "cli_error.h"
#include "skin_file.h"
#include "whole_file.h"

#include <unistd.h>

namespace {
bool IsStandardStream(const QString& path) {
    return path == QLatin1String("-");
}

// Standard output as the skin writer's sink: what is already filled goes
// on a chunk at a time, so that a large skin is not held whole.
class TOutputSink : public TByteSink {
  public:
    explicit TOutputSink(TCliOutput& output) : Output(output) {}
    uchar* Extend(qsizetype n) override {
        Output.Print({});
        const qsizetype at = Output.Out.size();
        Output.Out.resize(at + n);
        return reinterpret_cast<uchar*>(Output.Out.data()) + at;
    }

  private:
    TCliOutput& Output;
};
} // namespace

QByteArray ReadFileBytes(const QString& path) {
    const bool stdinput = IsStandardStream(path);
    TFileRead read = stdinput ? ReadWholeDescriptor(STDIN_FILENO) : ReadWholeFile(path);
    if (!read.Error.isEmpty())
        FailFile(stdinput ? QStringLiteral("standard input") : path, read.Error + QLatin1Char('.'));
    return std::move(read.Bytes);
}

TSkinDocument ReadSkinArgument(const QString& path) {
    // A stream, read only as far as the reader has got.
    TSkinReadResult read =
        IsStandardStream(path) ? ReadSkinDescriptor(STDIN_FILENO) : ReadSkinFile(path);
    if (!read.Document)
        FailFile(IsStandardStream(path) ? QStringLiteral("standard input") : path, read.Error);
    return std::move(*read.Document);
}

void WriteFileBytes(const QString& path, const QByteArray& bytes) {
    const QString error = WriteWholeFile(path, bytes);
    if (!error.isEmpty()) FailFile(path, error + QLatin1Char('.'));
}

void WriteOutputBytes(const QString& path, const QByteArray& bytes, TCliOutput& output) {
    if (IsStandardStream(path))
        output.Out += bytes;
    else
        WriteFileBytes(path, bytes);
}

void WriteSkinArgument(const TSkinDocument& doc, const QString& path, TCliOutput& output) {
    if (IsStandardStream(path)) {
        // Refused before a byte goes out, as a file would be.
        if (const QString refused = SkinFileRefusal(doc); !refused.isEmpty())
            FailFile(path, refused);
        TOutputSink sink(output);
        WriteSkin(doc, sink);
        return;
    }
    const QString error = WriteSkinFile(doc, path);
    if (!error.isEmpty()) FailFile(path, error);
}
