#include "report/QtReportFiles.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QSaveFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextObjectInterface>
#include <QTextTable>

#include "drawing/QtPictureFiles.h"
#include "qtforms/QtControls.h"
#include "report/PdfTextMaps.h"

namespace tavrin {

namespace {

constexpr int kResolution = 300;  // dots per inch of the PDF's layout
constexpr double kMillimetresPerInch = 25.4;
constexpr double kMarginMm = 20.0;
constexpr double kFooterMm = 10.0;  // from the page's lower edge to the page number's base
// Every picture at one scale, so that the structure is as large in each
// (a beam of the report's whole picture width 86 mm long, its labels some
// 8.5 points high); one wider or higher than the text shrinks to it.
constexpr double kPictureMmPerUnit = 0.45;
constexpr double kBodyPoints = 10.5;
constexpr double kTablePoints = 9.0;
constexpr double kTableLinePoints = 13.0;
// The labels of the pictures, the size the pictures' layout reckons with.
constexpr double kPicturePoints = 9.0;

// Latin letters and digits from a Latin font: the Chinese font's own, shaped
// beside Chinese text, come out of the PDF's text as nothing. The formulas
// are set in a serif face, as in the textbook.
const QStringList kFontFamilies{QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")};
const QStringList kFormulaFamilies{QStringLiteral("DejaVu Serif"), QStringLiteral("Noto Sans CJK SC")};

QFont ReportFont(double points)
{
    QFont font;
    font.setFamilies(kFontFamilies);
    font.setPointSizeF(points);
    return font;
}

double Dots(double millimetres)
{
    return millimetres / kMillimetresPerInch * kResolution;
}

RecordedPicture PictureOf(const ReportBlock& block)
{
    return {block.ops,      block.width, block.height, PictureUnits{}, QString(), ReportFont(kPicturePoints),
            PixelGrid::Free};
}

// The pictures of the report as objects of the text: each one a picture
// and its caption under it, so that the two never part at a page end.
class PictureObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    static constexpr int kType = QTextFormat::UserObject + 1;
    static constexpr int kIndex = QTextFormat::UserProperty + 1;
    // The share of its size a picture is shrunk to, to fit a page; 1 unless set.
    static constexpr int kScale = QTextFormat::UserProperty + 2;

    // The picture's height in an object `objectHeight` high.
    static double ImageHeight(double objectHeight) { return objectHeight - CaptionHeight(); }

    // `body`: the text's width and the page's height on `device`.
    PictureObject(const Report& report, QSizeF body, QPaintDevice& device, QObject* parent)
        : QObject(parent), m_report(report), m_body(body), m_device(device)
    {
    }

    QSizeF intrinsicSize(QTextDocument*, int, const QTextFormat& format) override
    {
        const QSizeF picture = PictureSize(format);
        return {std::max(picture.width(), CaptionWidth(BlockOf(format))), picture.height() + CaptionHeight()};
    }

    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int, const QTextFormat& format) override
    {
        const ReportBlock& block = BlockOf(format);
        const QSizeF picture = PictureSize(format);
        PaintPictureInto(
            *painter,
            QRectF(rect.left() + (rect.width() - picture.width()) / 2.0, rect.top(), picture.width(), picture.height()),
            PictureOf(block));
        painter->save();
        painter->setFont(ReportFont(kTablePoints));
        painter->setPen(Qt::black);
        painter->drawText(QRectF(rect.left(), rect.top() + picture.height(), rect.width(), CaptionHeight()),
                          Qt::AlignCenter, FromUtf8(PlainText(block.text)));
        painter->restore();
    }

private:
    const ReportBlock& BlockOf(const QTextFormat& format) const
    {
        return m_report.blocks[static_cast<std::size_t>(format.property(kIndex).toInt())];
    }
    // At the report's scale, within the text's width and nine tenths of
    // its height, shrunk as the format says.
    QSizeF PictureSize(const QTextFormat& format) const
    {
        const ReportBlock& block = BlockOf(format);
        const QSize pixels = PictureUnits{}.PixelsFor(block.width, block.height);
        const QSizeF size(Dots(block.width * kPictureMmPerUnit),
                          Dots(block.width * kPictureMmPerUnit) * pixels.height() / pixels.width());
        const QSizeF room(m_body.width(), 0.9 * m_body.height() - CaptionHeight());
        const QSizeF fitted = size.width() <= room.width() && size.height() <= room.height()
                                  ? size
                                  : size.scaled(room, Qt::KeepAspectRatio);
        const QVariant scale = format.property(kScale);
        return scale.isValid() ? fitted * scale.toDouble() : fitted;
    }
    static double CaptionHeight() { return 2.0 * kTablePoints / 72.0 * kResolution; }
    double CaptionWidth(const ReportBlock& block) const
    {
        const QFontMetricsF metrics(ReportFont(kTablePoints), &m_device);
        return std::min(m_body.width(), metrics.horizontalAdvance(FromUtf8(PlainText(block.text))) * 1.05);
    }

    const Report& m_report;
    QSizeF m_body;
    QPaintDevice& m_device;
};

QTextCharFormat CharFormat(double points, bool bold = false, const QStringList& families = kFontFamilies)
{
    QTextCharFormat format;
    format.setFontFamilies(families);
    format.setFontPointSize(points);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    return format;
}

void InsertRich(QTextCursor& cursor, const RichText& text, const QTextCharFormat& base)
{
    for (const TextRun& run : text) {
        QTextCharFormat format = base;
        if (run.script == Script::Sub)
            format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        if (run.script == Script::Sup)
            format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        cursor.insertText(FromUtf8(run.text), format);
    }
}

void NewBlock(QTextCursor& cursor, Qt::Alignment alignment, double topPoints, double leftPoints = 0.0)
{
    QTextBlockFormat format;
    format.setAlignment(alignment);
    format.setTopMargin(topPoints / 72.0 * kResolution);
    format.setLeftMargin(leftPoints / 72.0 * kResolution);
    cursor.insertBlock(format);
}

// The caption as a first header row over all columns, so that it stays with
// the table and comes again with the column headers on every page the
// table runs onto.
QTextTable* InsertTable(QTextCursor& cursor, const ReportBlock& block)
{
    const int rows = static_cast<int>(block.table.size());
    int cols = 1;
    for (const std::vector<std::string>& row : block.table)
        cols = std::max(cols, static_cast<int>(row.size()));
    QTextTableFormat format;
    format.setHeaderRowCount(rows > 0 ? 2 : 1);
    format.setBorderCollapse(true);
    format.setBorder(0.5 / 72.0 * kResolution);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderBrush(Qt::black);
    format.setCellPadding(2.0 / 72.0 * kResolution);
    format.setCellSpacing(0);
    format.setAlignment(Qt::AlignHCenter);
    format.setTopMargin(4.0 / 72.0 * kResolution);
    format.setBottomMargin(4.0 / 72.0 * kResolution);
    QTextTable* table = cursor.insertTable(rows + 1, cols, format);
    table->mergeCells(0, 0, 1, cols);
    QTextTableCellFormat captionCell;
    captionCell.setBorderStyle(QTextFrameFormat::BorderStyle_None);
    captionCell.setLeftBorder(0);
    captionCell.setRightBorder(0);
    captionCell.setTopBorder(0);
    table->cellAt(0, 0).setFormat(captionCell);
    QTextCursor caption = table->cellAt(0, 0).firstCursorPosition();
    InsertRich(caption, block.text, CharFormat(kTablePoints, true));
    for (int r = 0; r < rows; ++r) {
        const std::vector<std::string>& row = block.table[static_cast<std::size_t>(r)];
        for (int c = 0; c < static_cast<int>(row.size()); ++c) {
            QTextTableCell cell = table->cellAt(r + 1, c);
            if (r == 0) {
                QTextTableCellFormat header;
                header.setBackground(QColor(0xee, 0xee, 0xee));
                cell.setFormat(header);
            }
            QTextCursor text = cell.firstCursorPosition();
            // Every cell's line as high as the others', whichever font draws
            // it, so that a row stands level and never parts at a page end
            // with its Chinese cells on the next page and its numbers left.
            QTextBlockFormat centred;
            centred.setAlignment(Qt::AlignHCenter);
            centred.setLineHeight(kTableLinePoints, QTextBlockFormat::FixedHeight);
            text.setBlockFormat(centred);
            text.insertText(FromUtf8(row[static_cast<std::size_t>(c)]), CharFormat(kTablePoints, r == 0));
        }
    }
    return table;
}

bool IsLead(ReportBlock::Kind kind)
{
    return kind == ReportBlock::Kind::Heading || kind == ReportBlock::Kind::Subheading ||
           kind == ReportBlock::Kind::Paragraph;
}

// Block `i` of the report as text at the cursor; the table, if it is one.
QTextTable* InsertBlock(QTextCursor& cursor, const Report& report, std::size_t i)
{
    const ReportBlock& block = report.blocks[i];
    switch (block.kind) {
        case ReportBlock::Kind::Heading:
            NewBlock(cursor, Qt::AlignLeft, 14.0);
            InsertRich(cursor, block.text, CharFormat(14.0, true));
            break;
        case ReportBlock::Kind::Subheading:
            NewBlock(cursor, Qt::AlignLeft, 8.0);
            InsertRich(cursor, block.text, CharFormat(11.5, true));
            break;
        case ReportBlock::Kind::Paragraph:
            NewBlock(cursor, Qt::AlignLeft, 4.0);
            InsertRich(cursor, block.text, CharFormat(kBodyPoints));
            break;
        case ReportBlock::Kind::Equation:
        case ReportBlock::Kind::Derivation:
            NewBlock(cursor, Qt::AlignLeft, 3.0, 36.0);
            InsertRich(cursor, block.text, CharFormat(11.5, false, kFormulaFamilies));
            break;
        case ReportBlock::Kind::Stop: {
            NewBlock(cursor, Qt::AlignLeft, 10.0);
            QTextCharFormat format = CharFormat(kBodyPoints, true);
            format.setForeground(QColor(0xb0, 0, 0));
            InsertRich(cursor, block.text, format);
            break;
        }
        case ReportBlock::Kind::Table: {
            QTextTable* table = InsertTable(cursor, block);
            cursor.movePosition(QTextCursor::End);
            return table;
        }
        case ReportBlock::Kind::Picture: {
            NewBlock(cursor, Qt::AlignHCenter, 6.0);
            QTextCharFormat object;
            object.setObjectType(PictureObject::kType);
            object.setProperty(PictureObject::kIndex, static_cast<int>(i));
            cursor.insertText(QString(QChar::ObjectReplacementCharacter), object);
            break;
        }
    }
    return nullptr;
}

// The end of the piece that starts at block `first`: the headings and
// lead-in paragraphs before an element, the element itself (a picture, a
// table, a stop, a derivation, or a system of equations, which is never
// parted) and the sentences kept with it. Paragraphs followed by a new
// heading are a piece of their own, so that a section's closing text is
// not carried to the next page with the heading after it.
std::size_t PieceEnd(const Report& report, std::size_t first)
{
    const auto kindAt = [&](std::size_t i) { return report.blocks[i].kind; };
    const auto isHeading = [&](std::size_t i) {
        return kindAt(i) == ReportBlock::Kind::Heading || kindAt(i) == ReportBlock::Kind::Subheading;
    };
    std::size_t i = first;
    while (i < report.blocks.size() && IsLead(kindAt(i))) {
        if (i > first && isHeading(i) && kindAt(i - 1) == ReportBlock::Kind::Paragraph)
            return i;
        ++i;
    }
    if (i == report.blocks.size())
        return i;
    if (kindAt(i) != ReportBlock::Kind::Equation)
        ++i;
    while (i < report.blocks.size() && kindAt(i) == ReportBlock::Kind::Equation)
        ++i;
    while (i < report.blocks.size() && report.blocks[i].keepWithPrevious)
        ++i;
    return i;
}

// Shrinks the picture of `block` to `scale` of its size.
void ScalePicture(const QTextBlock& block, double scale)
{
    QTextCursor object(block);
    object.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    QTextCharFormat format = object.charFormat();
    format.setProperty(PictureObject::kScale, scale);
    object.setCharFormat(format);
}

// The report as text of `document`, one piece at a time, each laid out as
// it is added, so that the layout grows with the report instead of being
// done again for every page end. A piece laid across a page end starts on
// the next page when it fits on one: no heading ends a page, no formula,
// system of equations or picture is cut, a sentence stays with what it
// concludes. Rather than leave a quarter of a page or more empty, a
// picture shrinks to as little as kLeastPictureScale of its size to fit,
// and a table of kLongTable rows or more runs on with its headers repeated
// where a third of the page is left, as does a table longer than a page,
// its leads and first rows kept together.
constexpr double kLeastPictureScale = 0.7;
constexpr std::size_t kLongTable = 8;
void Typeset(QTextDocument& document, const Report& report, const ReportProgress& progress)
{
    const double page = document.pageSize().height();
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    const auto pageOf = [page](double y) { return std::floor(y / page); };
    QTextCursor cursor(&document);
    QTextBlockFormat title;
    title.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(title);
    cursor.insertText(FromUtf8(report.title), CharFormat(20.0, true));
    for (std::size_t first = 0, end = 0; first < report.blocks.size(); first = end) {
        end = PieceEnd(report, first);
        // One layout for the piece rather than one per insertion.
        cursor.beginEditBlock();
        QTextTable* table = nullptr;
        std::size_t tableRows = 0;
        QTextBlock start;
        QTextBlock picture;
        bool endsWithTable = false;
        for (std::size_t i = first; i < end; ++i) {
            QTextTable* inserted = InsertBlock(cursor, report, i);
            endsWithTable = inserted != nullptr;
            if (inserted) {
                table = inserted;
                tableRows = report.blocks[i].table.size();
            } else if (i == first) {
                start = cursor.block();
            }
            if (report.blocks[i].kind == ReportBlock::Kind::Picture)
                picture = cursor.block();
        }
        cursor.endEditBlock();
        // The block after a closing table starts where the table ends, and
        // asking for it lays the whole table out.
        const auto bottomOfPiece = [&] {
            const QRectF last = layout->blockBoundingRect(cursor.block());
            return endsWithTable ? last.top() : last.bottom();
        };
        const double top =
            start.isValid() ? layout->blockBoundingRect(start).top() : layout->frameBoundingRect(table).top();
        double bottom = bottomOfPiece();
        const double pageEnd = page * (pageOf(top) + 1.0);
        const double left = pageEnd - top;
        bool across = pageOf(top) != pageOf(bottom - 1.0);
        if (across && bottom - top >= page)
            across = table != nullptr && left < page / 4.0;
        if (across && picture.isValid() && left >= page / 4.0) {
            const double height = PictureObject::ImageHeight(layout->blockBoundingRect(picture).height());
            const double scale = (height - (bottom - pageEnd) - page / 100.0) / height;
            if (scale >= kLeastPictureScale) {
                ScalePicture(picture, scale);
                bottom = bottomOfPiece();
                across = pageOf(top) != pageOf(bottom - 1.0);
            }
        }
        if (across && table && tableRows >= kLongTable && left >= page / 3.0)
            across = false;
        if (across) {
            if (start.isValid()) {
                QTextCursor at(start);
                QTextBlockFormat format = at.blockFormat();
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                at.setBlockFormat(format);
            } else {
                QTextTableFormat format = table->format();
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                table->setFormat(format);
            }
        }
        if (progress)
            progress(static_cast<int>(end), static_cast<int>(report.blocks.size()) * 2);
    }
}

bool PaintPdf(QIODevice& out, const Report& report, const ReportProgress& progress)
{
    QPdfWriter writer(&out);
    writer.setTitle(FromUtf8(report.title));
    writer.setCreator(QStringLiteral("Tavrin"));
    writer.setResolution(kResolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF());

    QTextDocument document;
    document.documentLayout()->setPaintDevice(&writer);
    document.setDocumentMargin(0);
    const QRectF body(Dots(kMarginMm), Dots(kMarginMm), writer.width() - 2.0 * Dots(kMarginMm),
                      writer.height() - 2.0 * Dots(kMarginMm));
    auto* pictures = new PictureObject(report, body.size(), writer, &document);
    document.documentLayout()->registerHandler(PictureObject::kType, pictures);
    document.setPageSize(body.size());
    document.setDefaultFont(ReportFont(kBodyPoints));
    Typeset(document, report, progress);

    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const int pages = document.pageCount();
    const QFont footer = ReportFont(kTablePoints);
    for (int p = 0; p < pages; ++p) {
        if (p > 0)
            writer.newPage();
        painter.save();
        painter.translate(body.left(), body.top() - p * body.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, p * body.height(), body.width(), body.height());
        context.palette.setColor(QPalette::Text, Qt::black);
        painter.setClipRect(context.clip);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
        painter.setFont(footer);
        painter.setPen(Qt::black);
        const QString number = QStringLiteral("第 %1 页 共 %2 页").arg(p + 1).arg(pages);
        painter.drawText(QRectF(0, writer.height() - Dots(kFooterMm) - Dots(6.0), writer.width(), Dots(6.0)),
                         Qt::AlignHCenter | Qt::AlignBottom, number);
        if (progress) {
            const int blocks = static_cast<int>(report.blocks.size());
            progress(blocks + blocks * (p + 1) / pages, 2 * blocks);
        }
    }
    return painter.end();
}

// Every text the PDF draws: the report's and the page numbers'.
QString DrawnText(const Report& report)
{
    QString drawn = FromUtf8(report.title) + QStringLiteral("第 页 共0123456789");
    for (const ReportBlock& block : report.blocks) {
        drawn += FromUtf8(PlainText(block.text));
        for (const std::vector<std::string>& row : block.table)
            for (const std::string& cell : row)
                drawn += FromUtf8(cell);
        for (const CanvasOp& op : block.ops)
            drawn += FromUtf8(op.text);
    }
    return drawn;
}

// The drawn character each radical's glyph stands for in the fonts the
// report is set in, for the radicals the report does not draw itself: the
// PDF writer names a glyph by the lowest code point the font maps to it,
// which for a shared glyph is the radical (see PdfTextMaps.h).
std::map<char32_t, char32_t> SharedGlyphTexts(const Report& report)
{
    const QList<uint> codes = DrawnText(report).toUcs4();
    std::vector<char32_t> drawn(codes.begin(), codes.end());
    std::sort(drawn.begin(), drawn.end());
    drawn.erase(std::unique(drawn.begin(), drawn.end()), drawn.end());
    QString radicals;
    for (char32_t r = 0x2E80; IsCjkRadical(r); ++r)
        radicals += QChar(static_cast<char16_t>(r));
    std::vector<QFont> fonts{ReportFont(kBodyPoints), ReportFont(kPicturePoints)};
    fonts.push_back(fonts.front());
    fonts.back().setBold(true);
    std::map<char32_t, char32_t> textOf;
    for (const QFont& font : fonts) {
        const QRawFont raw = QRawFont::fromFont(font, QFontDatabase::SimplifiedChinese);
        const QList<quint32> radicalGlyphs = raw.glyphIndexesForString(radicals);
        for (const char32_t c : drawn) {
            if (IsCjkRadical(c))
                continue;
            const QList<quint32> glyph = raw.glyphIndexesForString(QString::fromUcs4(&c, 1));
            if (glyph.size() != 1 || glyph.front() == 0)
                continue;
            for (qsizetype k = 0; k < radicalGlyphs.size(); ++k) {
                const auto r = static_cast<char32_t>(0x2E80 + k);
                if (radicalGlyphs[k] == glyph.front() && !std::binary_search(drawn.begin(), drawn.end(), r))
                    textOf.emplace(r, c);
            }
        }
    }
    return textOf;
}

QByteArray SvgOf(const ReportBlock& block)
{
    QByteArray svg;
    QBuffer buffer(&svg);
    buffer.open(QIODevice::WriteOnly);
    PaintPictureSvg(buffer, FromUtf8(PlainText(block.text)), PictureOf(block));
    // The page declares its own encoding; the picture starts at its element.
    const qsizetype start = svg.indexOf("<svg");
    return start < 0 ? QByteArray() : svg.mid(start);
}

}  // namespace

bool WriteReportFile(const QString& file, ReportFormat format, const Report& report, QString& cause,
                     const ReportProgress& progress)
{
    QByteArray bytes;
    if (format == ReportFormat::Pdf) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!PaintPdf(buffer, report, progress)) {
            cause = FromUtf8(kReportNotPainted);
            return false;
        }
        bytes = QByteArray::fromStdString(ReplacePdfGlyphTexts(bytes.toStdString(), SharedGlyphTexts(report)));
    } else {
        bytes = QByteArray::fromStdString(
            ReportHtml(report, [&](const ReportBlock& block) { return SvgOf(block).toStdString(); }));
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        cause = out.errorString();
        return false;
    }
    return true;
}

}  // namespace tavrin

#include "QtReportFiles.moc"
