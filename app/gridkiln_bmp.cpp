// gridkiln-bmp: inspects and converts BMP files from scripts, through the same codec, file
// access and PNG library as the editor.

#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "files/png_library.h"
#include "files/png_path.h"
#include "platform/bmp_codec.h"
#include "platform/file_io.h"

namespace gk {
namespace {

constexpr int ExitOk = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

// The largest BMP file `info` reads; the same bound as a load in the editor.
constexpr std::size_t MaxInfoFileBytes =
    static_cast<std::size_t>(MaxBmpPixels) * 4 + static_cast<std::size_t>(MaxBmpSide) * 4 + 65536;

constexpr const char* UsageText =
    "Usage: gridkiln-bmp COMMAND ARGUMENT...\n"
    "Inspect and convert Windows BMP files.\n"
    "\n"
    "Commands:\n"
    "  info FILE...\n"
    "      Print one line per file: width x height, bits per pixel, header kind\n"
    "      (core, info, v4, v5), compression and the number of colour-table entries.\n"
    "  png FILE.bmp [OUT.png]\n"
    "      Write the image as an opaque PNG showing the same pixels; indexed images\n"
    "      stay indexed. OUT.png defaults to FILE.bmp with its extension replaced by\n"
    "      \".png\" (\".png\" appended when the file name has none).\n"
    "  copy IN.bmp OUT.bmp [--save256]\n"
    "      Read IN.bmp and write OUT.bmp as the editor saves: in the image's own format,\n"
    "      or with --save256 at 8 bits per pixel over the halftone palette (an 8-bit\n"
    "      image keeps its own colour table).\n"
    "  --help\n"
    "      Show this text.\n"
    "\n"
    "Output files are replaced only once completely written. Put -- before file names\n"
    "that begin with \"-\".\n"
    "Exit status: 0 when every file succeeded; 1 when any file failed, with one line\n"
    "\"gridkiln-bmp: FILE: REASON\" per failing file on standard error; 2 for a usage\n"
    "error.\n";

int UsageError(const std::string& problem) {
  std::cerr << "gridkiln-bmp: " << problem << "\n\n" << UsageText;
  return ExitUsage;
}

// Error texts from the lower layers already name the file ("hero.bmp: not a BMP file",
// "cannot open hero.bmp: No such file or directory"); the name is taken out so that it is
// printed once, in front.
std::string ReasonWithoutName(const std::string& message, const std::string& file) {
  const std::string named = file + ": ";
  if (file.empty()) return message;
  if (message.rfind(named, 0) == 0) return message.substr(named.size());
  const std::size_t at = message.find(" " + named);
  if (at != std::string::npos) {
    return message.substr(0, at) + ": " + message.substr(at + 1 + named.size());
  }
  return message;
}

void ReportFailure(const std::string& file, const std::string& message) {
  std::cerr << "gridkiln-bmp: " << file << ": " << ReasonWithoutName(message, file) << "\n";
}

std::string InfoLine(const std::string& file) {
  const std::vector<std::uint8_t> bytes = ReadFileBytes(file, MaxInfoFileBytes);
  const BmpInfo info = ReadBmpInfo(bytes, file);
  std::string line = file + ": " + std::to_string(info.width) + " x " +
                     std::to_string(info.height) + ", " + std::to_string(info.bitsPerPixel) +
                     " bpp, " + HeaderKindName(info.header) + " header, " +
                     CompressionName(info.compression) + ", " +
                     std::to_string(info.colourTableSize) + " table colours";
  if (info.topDown) line += ", top-down";
  return line;
}

int RunInfo(const std::vector<std::string>& files) {
  if (files.empty()) return UsageError("info needs at least one file");
  int status = ExitOk;
  for (const std::string& file : files) {
    try {
      std::cout << InfoLine(file) << '\n';
    } catch (const std::exception& e) {
      ReportFailure(file, e.what());
      status = ExitFailed;
    }
  }
  return status;
}

int RunPng(const std::vector<std::string>& args) {
  if (args.empty() || args.size() > 2) return UsageError("png needs FILE.bmp and at most OUT.png");
  const std::string& bmpPath = args[0];
  const std::string pngPath = args.size() == 2 ? args[1] : PngPathFor(bmpPath);
  png::ImageHandle image = png::LoadBmp(bmpPath);
  if (!image) {
    ReportFailure(bmpPath, png::LastError());
    return ExitFailed;
  }
  // The record the editor's export passes: compression level 9.
  png::PngOptions options{};
  options.flags = 9;
  options.level = 9;
  const int result = png::WritePng(pngPath, image, &options);
  png::Release(image);
  if (result != 0) {
    ReportFailure(pngPath, png::LastError());
    return ExitFailed;
  }
  return ExitOk;
}

int RunCopy(const std::vector<std::string>& args, bool save256) {
  if (args.size() != 2) return UsageError("copy needs IN.bmp and OUT.bmp");
  const std::string& in = args[0];
  const std::string& out = args[1];
  Surface image;
  try {
    image = LoadBmpFile(in);
  } catch (const std::exception& e) {
    ReportFailure(in, e.what());
    return ExitFailed;
  }
  try {
    SaveBmpFile(out, save256 ? ConvertTo8BitHalftone(image) : image);
  } catch (const std::exception& e) {
    ReportFailure(out, e.what());
    return ExitFailed;
  }
  return ExitOk;
}

int Run(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return UsageError("no command given");
  for (const std::string& a : args) {
    if (a == "--") break;
    if (a == "--help" || a == "-h") {
      std::cout << UsageText;
      return ExitOk;
    }
  }

  const std::string command = args[0];
  std::vector<std::string> operands;
  bool save256 = false;
  bool optionsEnded = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!optionsEnded && a == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && a == "--save256" && command == "copy") {
      save256 = true;
    } else if (!optionsEnded && a.size() > 1 && a[0] == '-') {
      return UsageError("unknown option " + a);
    } else {
      operands.push_back(a);
    }
  }

  if (command == "info") return RunInfo(operands);
  if (command == "png") return RunPng(operands);
  if (command == "copy") return RunCopy(operands, save256);
  return UsageError("unknown command " + command);
}

}  // namespace
}  // namespace gk

int main(int argc, char** argv) {
  try {
    return gk::Run(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "gridkiln-bmp: " << e.what() << '\n';
    return 1;
  }
}
