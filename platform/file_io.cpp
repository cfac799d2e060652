#include "platform/file_io.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>

#include <stdexcept>

#include "platform/bmp_codec.h"

namespace gk {

namespace {

// The largest BMP file a load reads: 4 bytes for each of the most pixels the codec accepts, the
// row padding of the tallest image, and room for headers, masks and a full colour table.
constexpr std::size_t MaxBmpFileBytes =
    static_cast<std::size_t>(MaxBmpPixels) * 4 + static_cast<std::size_t>(MaxBmpSide) * 4 + 65536;

QString ToQtPath(const std::string& path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::runtime_error Failure(const char* what, const std::string& path, const QString& reason) {
  return std::runtime_error(std::string(what) + " " + path + ": " + reason.toStdString());
}

}  // namespace

std::vector<std::uint8_t> ReadFileBytes(const std::string& path, std::size_t maxBytes) {
  if (path.empty()) throw std::runtime_error("cannot open a file without a name");
  QFile file(ToQtPath(path));
  if (!file.open(QIODevice::ReadOnly)) throw Failure("cannot open", path, file.errorString());

  // The size decides the allocation only after the bound is checked; a device or pipe that
  // reports no size is read in chunks up to the bound instead.
  const qint64 size = file.size();
  if (size < 0 || static_cast<std::uint64_t>(size) > maxBytes) {
    throw Failure("cannot read", path, QStringLiteral("file too large"));
  }
  std::vector<std::uint8_t> bytes;
  bytes.reserve(static_cast<std::size_t>(size));
  char chunk[65536];
  for (;;) {
    const qint64 got = file.read(chunk, sizeof chunk);
    if (got < 0) throw Failure("cannot read", path, file.errorString());
    if (got == 0) break;
    if (bytes.size() + static_cast<std::size_t>(got) > maxBytes) {
      throw Failure("cannot read", path, QStringLiteral("file too large"));
    }
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  return bytes;
}

void WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
  if (path.empty()) throw std::runtime_error("cannot write a file without a name");
  const QString qtPath = ToQtPath(path);

  // A file without any write permission is refused even where the system would let us replace
  // it (running as root): the user protected it on purpose.
  const QFileInfo existing(qtPath);
  if (existing.isFile() &&
      !(existing.permissions() &
        (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther))) {
    throw Failure("cannot write", path, QStringLiteral("the file is write-protected"));
  }

  QSaveFile file(qtPath);
  if (!file.open(QIODevice::WriteOnly)) throw Failure("cannot write", path, file.errorString());
  const qint64 total = static_cast<qint64>(bytes.size());
  const char* data = reinterpret_cast<const char*>(bytes.data());
  qint64 done = 0;
  while (done < total) {
    const qint64 written = file.write(data + done, total - done);
    if (written <= 0) {
      const QString reason = file.errorString();
      file.cancelWriting();
      throw Failure("cannot write", path, reason);
    }
    done += written;
  }
  // commit() flushes, closes and renames; on failure it removes the temporary file itself.
  if (!file.commit()) throw Failure("cannot write", path, file.errorString());
}

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  return QFileInfo(ToQtPath(path)).isFile();
}

Surface LoadBmpFile(const std::string& path) {
  const std::vector<std::uint8_t> bytes = ReadFileBytes(path, MaxBmpFileBytes);
  return DecodeBmp(bytes, path);
}

void SaveBmpFile(const std::string& path, const Surface& surface) {
  const std::vector<std::uint8_t> bytes = EncodeBmp(surface);
  WriteFileAtomically(path, bytes);
}

}  // namespace gk
