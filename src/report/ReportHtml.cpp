#include "report/Report.h"

#include "drawing/PictureSvg.h"

namespace tavrin {

namespace {

std::string RichHtml(const RichText& text)
{
    std::string out;
    for (const TextRun& run : text) {
        switch (run.script) {
            case Script::Normal:
                out += XmlEscaped(run.text);
                break;
            case Script::Sub:
                out += "<sub>" + XmlEscaped(run.text) + "</sub>";
                break;
            case Script::Sup:
                out += "<sup>" + XmlEscaped(run.text) + "</sup>";
                break;
        }
    }
    return out;
}

std::string TableHtml(const ReportBlock& block)
{
    std::string out = "<table>\n<caption>" + RichHtml(block.text) + "</caption>\n";
    for (std::size_t r = 0; r < block.table.size(); ++r) {
        const char* cell = r == 0 ? "th" : "td";
        if (r == 0)
            out += "<thead>";
        if (r == 1)
            out += "<tbody>\n";
        out += "<tr>";
        for (const std::string& text : block.table[r])
            out += std::string("<") + cell + ">" + XmlEscaped(text) + "</" + cell + ">";
        out += "</tr>";
        if (r == 0)
            out += "</thead>";
        out += "\n";
    }
    if (block.table.size() > 1)
        out += "</tbody>\n";
    return out + "</table>\n";
}

constexpr std::string_view kStyle =
    "body{font-family:\"Noto Sans CJK SC\",sans-serif;max-width:46em;margin:2em auto;"
    "padding:0 1em;line-height:1.6;color:#000}"
    "h1{text-align:center}h2{margin-top:1.6em;border-bottom:1px solid #888}"
    "table{border-collapse:collapse;margin:0.5em 0 1em}caption{text-align:left;padding:0.2em 0}"
    "th,td{border:1px solid #666;padding:0.15em 0.6em;text-align:center;white-space:nowrap}"
    "th{background:#eee}"
    "figure{margin:1em 0;text-align:center}figure svg{max-width:100%;height:auto}"
    ".equation{margin-left:3em}"
    ".stop{color:#b00;font-weight:bold}";

}  // namespace

std::string ReportHtml(const Report& report, const std::function<std::string(const ReportBlock&)>& svgOf)
{
    std::string out =
        "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"zh-CN\">\n<head>\n"
        "<meta charset=\"utf-8\"/>\n<title>" +
        XmlEscaped(report.title) + "</title>\n<style>" + std::string(kStyle) + "</style>\n</head>\n<body>\n<h1>" +
        XmlEscaped(report.title) + "</h1>\n";
    for (const ReportBlock& block : report.blocks) {
        switch (block.kind) {
            case ReportBlock::Kind::Heading:
                out += "<h2>" + RichHtml(block.text) + "</h2>\n";
                break;
            case ReportBlock::Kind::Subheading:
                out += "<h3>" + RichHtml(block.text) + "</h3>\n";
                break;
            case ReportBlock::Kind::Paragraph:
                out += "<p>" + RichHtml(block.text) + "</p>\n";
                break;
            case ReportBlock::Kind::Equation:
            case ReportBlock::Kind::Derivation:
                out += "<p class=\"equation\">" + RichHtml(block.text) + "</p>\n";
                break;
            case ReportBlock::Kind::Stop:
                out += "<p class=\"stop\">" + RichHtml(block.text) + "</p>\n";
                break;
            case ReportBlock::Kind::Table:
                out += TableHtml(block);
                break;
            case ReportBlock::Kind::Picture:
                out += "<figure>\n" + svgOf(block) + "\n<figcaption>" + RichHtml(block.text) +
                       "</figcaption>\n</figure>\n";
                break;
        }
    }
    return out + "</body>\n</html>\n";
}

}  // namespace tavrin
