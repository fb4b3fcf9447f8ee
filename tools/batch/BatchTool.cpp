#include "batch/BatchTool.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <exception>
#include <fstream>
#include <new>
#include <system_error>

#include "app/Utf8Text.h"
#include "batch/BatchCase.h"
#include "batch/BatchOutput.h"
#include "batch/BatchRun.h"

namespace tavrin::batch {

namespace {

constexpr std::string_view kProgram = "tavrin-batch: ";

constexpr std::string_view kUsage =
    "用法: tavrin-batch [选项] 案例文件.json\n"
    "按案例文件输入结构、确定模型类型、逐项计算，输出各项的结果表和程序显示的消息。\n"
    "案例文件为 \"-\" 时从标准输入读取。\n"
    "\n"
    "选项:\n"
    "  --json        以 JSON 输出结果\n"
    "  --png 目录    把结构图(structure)和弯矩、剪力、轴力图(moment, shear, axial)存为 PNG，\n"
    "                另存基本结构的荷载弯矩图(mp)和各单位弯矩图(unit-1, unit-2, …)\n"
    "                以及位移图(deflection)\n"
    "  --svg 目录    同上，存为 SVG\n"
    "  --trace 文件  把每幅图的绘图操作存为 JSON\n"
    "  --size 宽x高  图的大小（图单位），默认 267x267\n"
    "  --report 文件 把计算书（结构、各项计算结果、力法方程、内力图和校核）存为\n"
    "                PDF 或 HTML，按文件扩展名 .pdf、.html\n"
    "  -h, --help    显示本说明\n"
    "\n"
    "退出码: 0 算到最后一项; 1 计算被消息中止（输出仍含此前的全部结果）;\n"
    "        2 案例文件无法读取或不是有效的案例、选项有误、输出文件无法写入。\n";

std::optional<double> ReadPictureUnits(std::string_view text)
{
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value) || value < 1.0 ||
        value > kMaxPictureUnits)
        return std::nullopt;
    return value;
}

bool ReadSize(std::string_view text, BatchOptions& options)
{
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos)
        return false;
    const std::optional<double> w = ReadPictureUnits(text.substr(0, x));
    const std::optional<double> h = ReadPictureUnits(text.substr(x + 1));
    if (!w || !h)
        return false;
    options.width = *w;
    options.height = *h;
    return true;
}

bool WriteFile(const std::filesystem::path& file, const std::string& content, std::ostream& err)
{
    std::ofstream stream(file, std::ios::binary);
    stream << content;
    stream.close();
    if (stream)
        return true;
    err << kProgram << "无法写入文件 " << QuotedInput(file.string()) << '\n';
    return false;
}

bool WritePictures(const std::vector<Picture>& pictures, const std::filesystem::path& dir, PictureFormat format,
                   const BatchOptions& options, std::ostream& err)
{
    if (!options.pictures) {
        err << kProgram << "本程序构建时未带绘图输出\n";
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        err << kProgram << "无法创建目录 " << QuotedInput(dir.string()) << ": " << ec.message() << '\n';
        return false;
    }
    const std::string extension(KindOf(format).extension);
    for (const Picture& picture : pictures) {
        std::string error;
        if (!options.pictures->Write(dir / (picture.name + extension), format, picture.ops, options.width,
                                     options.height, error)) {
            err << kProgram << error << '\n';
            return false;
        }
    }
    return true;
}

// The report of the calculation as far as it went; a calculation stopped by
// a message says which.
bool WriteReport(const RunResult& result, const BatchCase& batchCase, const std::filesystem::path& file,
                 const BatchOptions& options, std::ostream& err)
{
    const std::optional<ReportFormat> format = ReportFormatOfName(file.string());
    if (!options.reports || !format) {
        err << kProgram << "本程序构建时未带计算书输出\n";
        return false;
    }
    const ReportSource source =
        ReportSourceOf(result.model, result.analysed ? &result.calculation : nullptr, batchCase,
                       !result.completed && !result.messages.empty() ? result.messages.back().text : std::string());
    std::string error;
    if (options.reports->Write(file, *format, BuildReport(source), error))
        return true;
    err << kProgram << error << '\n';
    return false;
}

// The text of the case file, "-" for standard input, or nothing after a
// message.
std::optional<std::string> ReadCaseText(const std::filesystem::path& file, std::ostream& err)
{
    if (file == "-") {
        std::optional<std::string> text = ReadCaseBytes(stdin);
        if (!text)
            err << kProgram << "无法读取标准输入\n";
        return text;
    }
    std::string error;
    std::optional<std::string> text = ReadCaseFileText(file, error);
    if (!text)
        err << kProgram << error << '\n';
    return text;
}

int Run(std::string_view json, const BatchOptions& options, std::ostream& out, std::ostream& err)
{
    const CaseReading reading = ReadCase(json);
    if (!reading.value) {
        err << kProgram << reading.error << '\n';
        return kExitInvalid;
    }
    const RunResult result = RunCase(*reading.value, options.width, options.height);
    if (options.json)
        out << ResultJson(result);
    else
        WriteResultText(result, out);
    out.flush();

    bool written = true;
    if (options.traceFile)
        written = WriteFile(*options.traceFile, TraceJson(result.pictures), err) && written;
    if (options.pngDir)
        written = WritePictures(result.pictures, *options.pngDir, PictureFormat::Png, options, err) && written;
    if (options.svgDir)
        written = WritePictures(result.pictures, *options.svgDir, PictureFormat::Svg, options, err) && written;
    if (options.reportFile)
        written = WriteReport(result, *reading.value, *options.reportFile, options, err) && written;
    if (!written)
        return kExitInvalid;
    if (!result.completed) {
        err << kProgram << "计算被消息中止\n";
        return kExitStopped;
    }
    return kExitCompleted;
}

}  // namespace

int RunCaseText(std::string_view json, const BatchOptions& options, std::ostream& out, std::ostream& err) noexcept
{
    try {
        return Run(json, options, out, err);
    } catch (const std::bad_alloc&) {
        err << kProgram << "内存不足\n";
    } catch (const std::exception& e) {
        err << kProgram << "内部错误: " << QuotedInput(e.what()) << '\n';
    } catch (...) {
        err << kProgram << "内部错误\n";
    }
    return kExitStopped;
}

int RunCaseFile(const std::filesystem::path& file, const BatchOptions& options, std::ostream& out,
                std::ostream& err) noexcept
{
    std::optional<std::string> text;
    try {
        text = ReadCaseText(file, err);
    } catch (const std::exception&) {
        err << kProgram << "无法读取案例文件 " << QuotedInput(file.string()) << '\n';
    }
    if (!text)
        return kExitInvalid;
    return RunCaseText(*text, options, out, err);
}

CommandLine ParseCommandLine(std::span<const std::string_view> args)
{
    CommandLine line;
    const auto fail = [&](std::string message) {
        line.error = std::move(message);
        return line;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        std::optional<std::string_view> inlineValue;
        if (arg.starts_with("--")) {
            if (const std::size_t eq = arg.find('='); eq != std::string_view::npos) {
                inlineValue = arg.substr(eq + 1);
                arg = arg.substr(0, eq);
            }
        }
        const auto value = [&]() -> std::optional<std::string_view> {
            if (inlineValue)
                return inlineValue;
            if (i + 1 < args.size())
                return args[++i];
            return std::nullopt;
        };
        if (arg == "-h" || arg == "--help") {
            line.help = true;
        } else if (arg == "--json") {
            line.options.json = true;
        } else if (arg == "--png" || arg == "--svg" || arg == "--trace" || arg == "--size" || arg == "--report") {
            const std::optional<std::string_view> v = value();
            if (!v || v->empty())
                return fail(std::string(arg) + " 后缺少参数");
            if (arg == "--png")
                line.options.pngDir = std::filesystem::path(*v);
            if (arg == "--svg")
                line.options.svgDir = std::filesystem::path(*v);
            if (arg == "--trace")
                line.options.traceFile = std::filesystem::path(*v);
            if (arg == "--report") {
                if (!ReportFormatOfName(*v))
                    return fail("--report 的文件名应以 .pdf 或 .html 结尾");
                line.options.reportFile = std::filesystem::path(*v);
            }
            if (arg == "--size" && !ReadSize(*v, line.options))
                return fail("--size 应为 宽x高，各在 1 到 " + std::to_string(static_cast<int>(kMaxPictureUnits)) +
                            " 图单位之间，例如 267x267");
        } else if (arg.size() > 1 && arg.starts_with("-")) {
            return fail("不认识的选项 " + QuotedInput(arg));
        } else if (!line.caseFile.empty()) {
            return fail("只能给一个案例文件");
        } else {
            line.caseFile = std::string(arg);
        }
    }
    if (!line.help && line.caseFile.empty())
        return fail("缺少案例文件");
    return line;
}

std::string_view UsageText()
{
    return kUsage;
}

}  // namespace tavrin::batch
