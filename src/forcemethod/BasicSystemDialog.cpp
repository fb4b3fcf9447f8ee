#include "forcemethod/BasicSystemDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "forcemethod/ForceMethodTexts.h"
#include "qtforms/QtControls.h"

namespace tavrin {

BasicSystemDialog::BasicSystemDialog(OriginalStructure original, int degree, std::optional<BasicSystem> compared,
                                     std::function<void(const BasicSystem&)> chosen, QWidget* parent)
    : QDialog(parent),
      m_original(std::move(original)),
      m_degree(degree),
      m_compared(std::move(compared)),
      m_chosen(std::move(chosen))
{
    setObjectName(QStringLiteral("BasicSystemDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setWindowTitle(FromUtf8(m_compared ? kCompareBasicSystemTitle : kChooseBasicSystemTitle));
    setMinimumWidth(520);
    auto* layout = new QVBoxLayout(this);
    auto* lead = new QLabel(FromUtf8(BasicSystemLead(m_degree)), this);
    lead->setWordWrap(true);
    layout->addWidget(lead);
    auto* boxes = new QGridLayout;
    for (std::size_t i = 0; i < m_original.restraints.size(); ++i) {
        auto* box = new QCheckBox(FromUtf8(RestraintText(m_original.restraints[i])), this);
        box->setObjectName(QStringLiteral("chkRestraint%1").arg(i + 1));
        boxes->addWidget(box, static_cast<int>(i / 3), static_cast<int>(i % 3));
        m_boxes.push_back(box);
    }
    layout->addLayout(boxes);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("lblNote"));
    m_note->setWordWrap(true);
    layout->addWidget(m_note);
    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("grdCompare"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setVisible(false);
    m_table->setMinimumHeight(260);
    layout->addWidget(m_table);
    auto* buttons = new QHBoxLayout;
    auto* recommend = new QPushButton(FromUtf8(kRecommendCaption), this);
    recommend->setObjectName(QStringLiteral("cmdRecommend"));
    auto* ok = new QPushButton(FromUtf8(kChooseCaption), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(FromUtf8(kCancelChoiceCaption), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    buttons->addWidget(recommend);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(recommend, &QPushButton::clicked, this, &BasicSystemDialog::Recommend);
    connect(ok, &QPushButton::clicked, this, &BasicSystemDialog::Accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void BasicSystemDialog::Tick(const std::vector<Restraint>& restraints)
{
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        m_boxes[i]->setChecked(std::find(restraints.begin(), restraints.end(), m_original.restraints[i]) !=
                               restraints.end());
}

void BasicSystemDialog::ShowNote(std::string_view text)
{
    m_note->setText(FromUtf8(text));
    adjustSize();
}

void BasicSystemDialog::Recommend()
{
    std::string why;
    const std::optional<BasicSystem> recommended = RecommendBasicSystem(m_original, m_degree, why);
    if (!recommended) {
        ShowNote(why);
        return;
    }
    Tick(recommended->released);
    ShowNote(kRecommendationRule);
}

void BasicSystemDialog::Accept()
{
    std::vector<Restraint> released;
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        if (m_boxes[i]->isChecked())
            released.push_back(m_original.restraints[i]);
    std::string why;
    const std::optional<BasicSystem> basic = FormBasicSystem(m_original, released, m_degree, why);
    if (!basic) {
        ShowNote(why);
        return;
    }
    if (m_compared) {
        Compare(*basic);
        return;
    }
    m_chosen(*basic);
    accept();
}

void BasicSystemDialog::Compare(const BasicSystem& other)
{
    std::string why;
    const std::optional<BasicSystemSolution> a = SolveBasicSystem(*m_compared, why);
    const std::optional<BasicSystemSolution> b = a ? SolveBasicSystem(other, why) : std::nullopt;
    if (!b) {
        ShowNote(why);
        return;
    }
    const CellRows rows = CompareBasicSystems(*a, *b);
    m_table->clear();
    m_table->setRowCount(static_cast<int>(rows.size()) - 1);
    m_table->setColumnCount(3);
    for (std::size_t c = 0; c < 3; ++c)
        m_table->setHorizontalHeaderItem(static_cast<int>(c), new QTableWidgetItem(FromUtf8(rows[0][c])));
    for (std::size_t r = 1; r < rows.size(); ++r)
        for (std::size_t c = 0; c < 3 && c < rows[r].size(); ++c)
            m_table->setItem(static_cast<int>(r) - 1, static_cast<int>(c), new QTableWidgetItem(FromUtf8(rows[r][c])));
    m_table->verticalHeader()->setVisible(false);
    m_table->resizeColumnsToContents();
    m_table->setVisible(true);
    ShowNote(kComparisonNote);
}

}  // namespace tavrin
