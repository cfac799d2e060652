// Open, save and PNG export through the real commands, each against plain file I/O of the same
// number of bytes measured in the same run. The ratios are printed at the end.

#include <benchmark/benchmark.h>

#include <unistd.h>
#include "bench/null_editor_ui.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/document_files.h"
#include "editor/picture_files.h"
#include "editor/png_export.h"
#include "editor/start_up.h"
#include "image/bmp_codec.h"

namespace {

namespace fs = std::filesystem;

struct Document {
  std::string name;
  std::string in, out;
  std::size_t bytes = 0;
};

std::vector<std::uint8_t> PlainRead(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) throw std::runtime_error("cannot open " + path);
  std::fseek(f, 0, SEEK_END);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::ftell(f)));
  std::fseek(f, 0, SEEK_SET);
  const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  if (got != bytes.size()) throw std::runtime_error("short read " + path);
  return bytes;
}

void PlainWrite(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot create " + path);
  const std::size_t put = std::fwrite(bytes.data(), 1, bytes.size(), f);
  if (std::fclose(f) != 0 || put != bytes.size()) throw std::runtime_error("short write " + path);
}

// The folder the editor starts in: a plain palette, no settings file.
std::string appFolder;

// An editor after its start-up, holding the document of `path`.
struct Editor {
  gk::NullEditorUi ui;
  gk::EditorContext ctx{ui};
  explicit Editor(const std::string& path) {
    gk::StartEditor(ctx, appFolder);
    gk::LoadImageFile(ctx, path);
  }
};

void SetBytes(benchmark::State& state, const Document* doc) {
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(doc->bytes));
}

void Open(benchmark::State& state, const Document* doc) {
  Editor editor(doc->in);
  for (auto _ : state) gk::LoadImageFile(editor.ctx, doc->in);
  SetBytes(state, doc);
}

void ReadBaseline(benchmark::State& state, const Document* doc) {
  for (auto _ : state) benchmark::DoNotOptimize(PlainRead(doc->in));
  SetBytes(state, doc);
}

void Save(benchmark::State& state, const Document* doc) {
  Editor editor(doc->in);
  for (auto _ : state) gk::SaveImageFile(editor.ctx, doc->out);
  SetBytes(state, doc);
}

void WriteBaseline(benchmark::State& state, const Document* doc) {
  const std::vector<std::uint8_t> bytes = PlainRead(doc->in);
  for (auto _ : state) PlainWrite(doc->out, bytes);
  SetBytes(state, doc);
}

void Export(benchmark::State& state, const Document* doc) {
  Editor editor(doc->in);
  for (auto _ : state) gk::ExportPng(editor.ctx, doc->in);
  SetBytes(state, doc);
}

// Console output as usual, plus each command's time as a multiple of its baseline.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration)
        times_[run.benchmark_name()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::cout << "\nRatios (command / plain I/O of the same bytes, same run), real and CPU:\n";
    for (const auto& [name, time] : times_) {
      const auto slash = name.find('/');
      const std::string kind = name.substr(0, slash);
      const std::string rest = name.substr(slash);
      const char* baseline = kind == "Open"                          ? "ReadBaseline"
                             : kind == "Save" || kind == "ExportPng" ? "WriteBaseline"
                                                                     : nullptr;
      if (!baseline) continue;
      auto base = times_.find(baseline + rest);
      if (base == times_.end()) continue;
      std::printf("  %-22s %8.2f %8.2f  x %s\n", name.c_str(), time.first / base->second.first,
                  time.second / base->second.second, baseline);
    }
  }

 private:
  std::map<std::string, std::pair<double, double>> times_;  // real, CPU
};

}  // namespace

int main(int argc, char** argv) {
  std::string pattern = (fs::temp_directory_path() / "gk_bench_XXXXXX").string();
  if (!mkdtemp(pattern.data())) return 1;
  const std::string dir = pattern + "/";
  appFolder = dir;
  gk::SaveBmpFile(dir + "palette.bmp", gk::Surface(384, 144, gk::PixelFormat::Rgb24(), 0x808080));

  gk::Surface big(1024, 1024, gk::PixelFormat::Rgb24());
  for (int y = 0; y < 1024; ++y) {
    for (int x = 0; x < 1024; ++x)
      big.WritePixel(x, y, gk::MakeColour(x & 255, y & 255, (x ^ y) & 255));
  }
  std::vector<gk::Colour> table;
  for (int i = 0; i < 256; ++i) table.push_back(gk::MakeColour(i, 255 - i, (i * 7) & 255));
  gk::Surface small(128, 128, gk::PixelFormat::Indexed(8, table));
  for (int y = 0; y < 128; ++y) {
    for (int x = 0; x < 128; ++x) small.WritePixel(x, y, table[(x + 3 * y) & 255]);
  }

  static std::vector<Document> docs = {{"24bit_1024", dir + "big.bmp", dir + "big_out.bmp"},
                                       {"8bit_128", dir + "small.bmp", dir + "small_out.bmp"}};
  gk::SaveBmpFile(docs[0].in, big);
  gk::SaveBmpFile(docs[1].in, small);
  for (Document& d : docs) {
    d.bytes = fs::file_size(d.in);
    benchmark::RegisterBenchmark(("Open/" + d.name).c_str(), Open, &d);
    benchmark::RegisterBenchmark(("ReadBaseline/" + d.name).c_str(), ReadBaseline, &d);
    benchmark::RegisterBenchmark(("Save/" + d.name).c_str(), Save, &d);
    benchmark::RegisterBenchmark(("WriteBaseline/" + d.name).c_str(), WriteBaseline, &d);
    benchmark::RegisterBenchmark(("ExportPng/" + d.name).c_str(), Export, &d);
  }

  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  fs::remove_all(dir);
  return 0;
}
