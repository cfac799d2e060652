// gridkiln-bmp: inspects and converts BMP files from scripts, through the same codecs, file
// access and PNG library as the editor.

#include <algorithm>
#include <cstdio>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/shell_quote.h"
#include "editor/document_write.h"
#include "editor/picture_files.h"
#include "editor/png_conversion.h"
#include "editor/png_path.h"
#include "filesystem/file_io.h"
#include "image/bmp_codec.h"
#include "image/picture_formats.h"

namespace gk {
namespace {

constexpr int ExitOk = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

constexpr const char* UsageText =
    "Usage: gridkiln-bmp COMMAND ARGUMENT...\n"
    "Inspect Windows BMP files and convert them to and from PNG.\n"
    "\n"
    "Commands:\n"
    "  info FILE...\n"
    "      Print one line per file: width x height, bits per pixel, header kind\n"
    "      (core, info, v4, v5), compression and the number of colour-table entries.\n"
    "  png FILE.bmp...\n"
    "      Write each image as an opaque PNG showing the same pixels; indexed images\n"
    "      stay indexed. Each PNG goes beside its BMP file, named after it with the\n"
    "      extension replaced by \".png\" (\".png\" appended when the name has none).\n"
    "  png -o OUT.png FILE.bmp\n"
    "      Write the one image to OUT.png instead.\n"
    "  bmp FILE.png...\n"
    "      Write each PNG as a BMP beside it, named after it with the extension\n"
    "      replaced by \".bmp\", as the editor opens and saves it: an indexed PNG\n"
    "      stays indexed (2 bits become 4), any other becomes 24-bit, and 16-bit\n"
    "      channels are rounded to 8 bits. A BMP file cannot hold transparency:\n"
    "      pixels that are not opaque are laid over black.\n"
    "  bmp -o OUT.bmp FILE.png\n"
    "      Write the one image to OUT.bmp instead.\n"
    "  copy IN OUT [--save256]\n"
    "      Read IN (a BMP or a PNG file) and write OUT as the editor's Save as writes\n"
    "      that name: a PNG when OUT ends in \".png\" (in any case), else a BMP, in\n"
    "      the image's own format, or with --save256 at 8 bits per pixel over the\n"
    "      halftone palette (an 8-bit image keeps its own colour table). A PNG keeps\n"
    "      the transparency of its input (at 8 bits, fully transparent pixels stay\n"
    "      transparent); a BMP lays pixels that are not opaque over black.\n"
    "  --help      Show this text.\n"
    "  --version   Show the program's version.\n"
    "\n"
    "png and bmp never write over one of their input files (however it is named);\n"
    "png writes no file whose name ends in \".bmp\", bmp none whose name ends in\n"
    "\".png\". Only regular files are read or written. An output file is replaced\n"
    "only once completely written and keeps its permissions, owner, group, hard\n"
    "links and symbolic links; a link another user owns in a shared sticky folder\n"
    "is not followed. One with several hard links, or in a folder you may not\n"
    "write, is updated in place once its old content is copied to NAME.gridkiln-old\n"
    "beside it or into ~/.local/state/gridkiln/; an error that cannot be undone\n"
    "names that copy. Put -- before file names that begin with \"-\". A file name\n"
    "holding control characters is printed quoted, with those characters escaped,\n"
    "as in 'a'$'\\033''b.bmp'.\n"
    "Exit status: 0 when every file succeeded; 1 when any file failed, with one line\n"
    "\"gridkiln-bmp: FILE: REASON\" per failing file on standard error; 2 for a usage\n"
    "error.\n";

int UsageError(const std::string& problem) {
  std::cerr << "gridkiln-bmp: " << problem << "\nTry 'gridkiln-bmp --help'.\n";
  return ExitUsage;
}

// Error texts from the lower layers already name the file ("hero.bmp: not a BMP file",
// "cannot write hero.png: No space left on device"); the name is taken out so that it is
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

// A name left in the reason cannot be told from its words, so only its control characters are
// escaped there.
void ReportFailure(const std::string& file, const std::string& message) {
  std::cerr << "gridkiln-bmp: " << ShellQuoted(file) << ": "
            << EscapedControls(ReasonWithoutName(message, file)) << "\n";
}

std::string InfoLine(const std::string& file) {
  // `info` reads no pixels: only the headers and masks the codec needs.
  const FileHead head = ReadFileHead(file, MaxBmpHeaderBytes);
  const BmpInfo info = ReadBmpInfo(head.bytes, head.fileSize, file);
  std::string line = ShellQuoted(file) + ": " + std::to_string(info.width) + " x " +
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

// Reads `in` with `load` and writes it to `out` as the editor saves a document of `format` (at 8
// bits with `save256`); the file and the reason of a failure, or nothing. A failure to read names
// `in`; one in the conversion, the encoding or the write names `out`.
std::optional<PngConversionFailure> Rewrite(const std::string& in, const std::string& out,
                                            Surface (*load)(const std::string&),
                                            const PictureFormat& format, bool save256) {
  Surface image;
  try {
    image = load(in);
  } catch (const std::exception& e) {
    return PngConversionFailure{in, e.what()};
  }
  try {
    WriteDocumentAs(format, out, image, save256);
  } catch (const std::exception& e) {
    return PngConversionFailure{out, e.what()};
  }
  return std::nullopt;
}

// The conversion to `format`: to PNG it is the export beside a save, through our PNG library,
// which reads BMP files only; to any other kind any picture is read and written as a document.
std::optional<PngConversionFailure> Convert(const PictureFormat& format, const std::string& in,
                                            const std::string& out) {
  if (&format == &PngFormat) return ConvertBmpToPng(in, out);
  return Rewrite(in, out, LoadPictureFile, format, false);
}

// What a conversion has to keep apart: the files it reads, and the files it has written so far
// (two inputs whose output names meet, such as a.bmp and a.BMP, must not overwrite each other).
struct ConversionRun {
  std::vector<FileIdentity> inputs;
  std::vector<std::pair<FileIdentity, std::string>> written;
};

// Why `pngPath` may not be written, or nothing. Files are compared, not names: a link or
// another spelling of an input is that input.
std::optional<std::string> RefusedOutput(const ConversionRun& run, const std::string& output) {
  const std::optional<FileIdentity> id = IdentifyFile(output);
  if (!id) return std::nullopt;
  if (std::find(run.inputs.begin(), run.inputs.end(), *id) != run.inputs.end()) {
    return "cannot write: it is one of the input files";
  }
  for (const auto& [done, from] : run.written) {
    if (done == *id) return "cannot write: already written from " + ShellQuoted(from);
  }
  return std::nullopt;
}

bool ConvertOne(const PictureFormat& format, ConversionRun& run, const std::string& input,
                const std::string& output) {
  if (const auto refusal = RefusedOutput(run, output)) {
    ReportFailure(output, *refusal);
    return false;
  }
  if (const auto failure = Convert(format, input, output)) {
    ReportFailure(failure->file, failure->reason);
    return false;
  }
  if (const auto id = IdentifyFile(output)) run.written.emplace_back(*id, input);
  return true;
}

// The ending of a name that is another kind's than `format`'s, or nothing: a conversion never
// writes a file whose name says it holds another kind.
std::optional<std::string_view> OtherKindsEnding(const PictureFormat& format,
                                                 const std::string& name) {
  for (const PictureFormat* other : PictureFormats()) {
    if (other == &format) continue;
    for (std::string_view extension : other->extensions) {
      if (HasExtension(name, extension)) return extension;
    }
  }
  return std::nullopt;
}

int RunConversion(const PictureFormat& format, const std::vector<std::string>& inputs,
                  const std::optional<std::string>& output) {
  const std::string command = format.command;
  if (inputs.empty()) return UsageError(command + " needs at least one file");
  if (output && inputs.size() != 1) {
    return UsageError(command + " -o takes exactly one input file");
  }
  if (const auto ending = output ? OtherKindsEnding(format, *output) : std::nullopt) {
    return UsageError(command + " does not write " + ShellQuoted(*output) + ": the name ends in " +
                      std::string(*ending));
  }
  ConversionRun run;
  for (const std::string& input : inputs) {
    if (const auto id = IdentifyFile(input)) run.inputs.push_back(*id);
  }
  int status = ExitOk;
  for (const std::string& input : inputs) {
    const std::string target = output ? *output : WithExtension(input, format.extensions.front());
    if (!ConvertOne(format, run, input, target)) {
      status = ExitFailed;
    }
  }
  return status;
}

int RunCopy(const std::vector<std::string>& args, bool save256) {
  if (args.size() != 2) return UsageError("copy needs IN and OUT");
  if (const auto failure =
          Rewrite(args[0], args[1], LoadPictureFile, SaveFormatOf(args[1]), save256)) {
    ReportFailure(failure->file, failure->reason);
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
    if (a == "--version") {
      std::cout << "gridkiln-bmp " << GK_VERSION << '\n';
      return ExitOk;
    }
  }

  const std::string command = args[0];
  std::vector<std::string> operands;
  std::optional<std::string> output;
  bool save256 = false;
  bool optionsEnded = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!optionsEnded && a == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && a == "--save256" && command == "copy") {
      save256 = true;
    } else if (!optionsEnded && a == "-o" && FormatOfCommand(command)) {
      if (output) return UsageError(command + " takes -o once");
      if (i + 1 == args.size()) return UsageError("-o needs a file name");
      output = args[++i];
    } else if (!optionsEnded && a.size() > 1 && a[0] == '-') {
      return UsageError("unknown option " + ShellQuoted(a));
    } else {
      operands.push_back(a);
    }
  }

  if (command == "info") return RunInfo(operands);
  if (const PictureFormat* format = FormatOfCommand(command)) {
    return RunConversion(*format, operands, output);
  }
  if (command == "copy") return RunCopy(operands, save256);
  return UsageError("unknown command " + ShellQuoted(command));
}

}  // namespace
}  // namespace gk

int main(int argc, char** argv) {
  try {
    return gk::Run(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "gridkiln-bmp: " << gk::EscapedControls(e.what()) << '\n';
    return 1;
  }
}
