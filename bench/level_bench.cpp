// Reading and writing the real levels, beside a raw read and write of the same bytes.
//   Level/Read:  readBaseLevel (file read, zero-fill, chunk by chunk parse)
//   Level/Parse: parseLevel of bytes already in memory
//   Level/Write: writeLevel (serialize, write to a temporary name, flush, rename)
//   Level/Serialize: serializeLevel alone
//   Raw/Read, Raw/Write: readFile and writeFileAtomically of the file's bytes
//   Textures/Decode: decodeBaseTextures of a level read (every page to 32-bit colour and the
//                    object textures), into the same BaseTextures each time as the editor does
// The levels come from CW_LEVELS_DIR (environment) or the folder set at build time; a level
// that is absent is skipped.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "common/files.h"
#include "drawing/level_textures.h"
#include "levelfile/level_image.h"
#include "levelfile/level_reader.h"
#include "levelfile/level_writer.h"

namespace fs = std::filesystem;

namespace {

fs::path levelsDir() {
    if (const char* dir = std::getenv("CW_LEVELS_DIR"); dir != nullptr && *dir != '\0') return dir;
    return CW_BENCH_LEVELS_DIR;
}

cw::LevelImage& sharedImage() {
    static const std::unique_ptr<cw::LevelImage> image = std::make_unique<cw::LevelImage>();
    return *image;
}

struct BenchLevel {
    std::string name;
    std::string path;
    std::vector<std::uint8_t> bytes;
    fs::path outputPath;  // in a scratch folder, same file name
};

void readLevel(benchmark::State& state, const BenchLevel* level) {
    cw::LevelImage& image = sharedImage();
    for (auto _ : state) {
        if (cw::readBaseLevel(image, level->path) != cw::kReadOk) state.SkipWithError("not read");
        benchmark::DoNotOptimize(image.roomCount);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * level->bytes.size()));
}

void parseLevel(benchmark::State& state, const BenchLevel* level) {
    cw::LevelImage& image = sharedImage();
    for (auto _ : state) {
        if (cw::parseLevel(level->bytes, image, level->path, "Base level") != cw::kReadOk) state.SkipWithError("not read");
        benchmark::DoNotOptimize(image.roomCount);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * level->bytes.size()));
}

void rawRead(benchmark::State& state, const BenchLevel* level) {
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes = cw::readFile(level->path);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * level->bytes.size()));
}

void writeLevel(benchmark::State& state, const BenchLevel* level) {
    cw::LevelImage& image = sharedImage();
    if (cw::parseLevel(level->bytes, image, level->path, "Base level") != cw::kReadOk) {
        state.SkipWithError("not read");
        return;
    }
    for (auto _ : state) {
        if (cw::writeLevel(image, level->outputPath.string()) != cw::kWriteOk) state.SkipWithError("not written");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * level->bytes.size()));
}

void serializeLevel(benchmark::State& state, const BenchLevel* level) {
    cw::LevelImage& image = sharedImage();
    if (cw::parseLevel(level->bytes, image, level->path, "Base level") != cw::kReadOk) {
        state.SkipWithError("not read");
        return;
    }
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes = cw::serializeLevel(image, image.gameKind);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * level->bytes.size()));
}

void decodeTextures(benchmark::State& state, const BenchLevel* level) {
    cw::LevelImage& image = sharedImage();
    if (cw::parseLevel(level->bytes, image, level->path, "Base level") != cw::kReadOk) {
        state.SkipWithError("not read");
        return;
    }
    cw::BaseTextures textures;
    for (auto _ : state) {
        cw::decodeBaseTextures(image, textures);
        benchmark::DoNotOptimize(textures.pages.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * image.textileCount * 256 * 256 * 4));
}

void rawWrite(benchmark::State& state, const BenchLevel* level) {
    for (auto _ : state) cw::writeFileAtomically(level->outputPath, level->bytes);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * level->bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    const fs::path scratch = fs::temp_directory_path() / ("cw-level-bench-" + std::to_string(std::random_device{}()));
    fs::create_directories(scratch);
    std::vector<std::unique_ptr<BenchLevel>> levels;
    for (const char* name : {"TR1-TEST1.PHD", "TR2-TEST1.TR2", "TR3-TEST1.TR2"}) {
        const fs::path path = levelsDir() / name;
        if (!cw::fileExists(path)) continue;
        auto level = std::make_unique<BenchLevel>();
        level->name = name;
        level->path = path.string();
        level->bytes = cw::readFile(path);
        level->outputPath = scratch / name;
        levels.push_back(std::move(level));
    }
    for (const auto& level : levels) {
        const BenchLevel* l = level.get();
        benchmark::RegisterBenchmark(("Level/Read/" + l->name).c_str(), readLevel, l)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Level/Parse/" + l->name).c_str(), parseLevel, l)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Raw/Read/" + l->name).c_str(), rawRead, l)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Level/Write/" + l->name).c_str(), writeLevel, l)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Level/Serialize/" + l->name).c_str(), serializeLevel, l)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Raw/Write/" + l->name).c_str(), rawWrite, l)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Textures/Decode/" + l->name).c_str(), decodeTextures, l)->Unit(benchmark::kMillisecond);
    }
    if (levels.empty()) std::fprintf(stderr, "level_bench: no real levels in %s\n", levelsDir().string().c_str());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(scratch, ec);
    return 0;
}
