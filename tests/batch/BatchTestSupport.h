#pragma once

// Running cases through the batch tool's core and reading its JSON output.

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "batch/BatchTool.h"

namespace tavrin::batch::testing {

inline std::filesystem::path ExamplePath(const std::string& name)
{
    return std::filesystem::path(TAVRIN_SOURCE_DIR) / "examples" / name;
}

inline std::filesystem::path OutputPath(const std::string& name)
{
    const std::filesystem::path dir = std::filesystem::path(TAVRIN_TEST_OUTPUT_DIR) / "batch";
    std::filesystem::create_directories(dir);
    return dir / name;
}

inline std::string ReadFile(const std::filesystem::path& file)
{
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream content;
    content << stream.rdbuf();
    return content.str();
}

struct Outcome {
    int exit = -1;
    std::string out;
    std::string err;
};

inline Outcome RunText(const std::string& json, BatchOptions options = {})
{
    std::ostringstream out, err;
    Outcome outcome;
    outcome.exit = RunCaseText(json, options, out, err);
    outcome.out = out.str();
    outcome.err = err.str();
    return outcome;
}

// The --json result of a case text; null when the output is not JSON.
inline nlohmann::json RunJson(const std::string& json, int& exit)
{
    BatchOptions options;
    options.json = true;
    const Outcome outcome = RunText(json, options);
    exit = outcome.exit;
    return nlohmann::json::parse(outcome.out, nullptr, false);
}

}  // namespace tavrin::batch::testing
