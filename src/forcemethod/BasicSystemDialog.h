#pragma once

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include <QDialog>

#include "forcemethod/BasicSystemChoice.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace tavrin {

// The restraints of the original structure, one box each, of which the
// student ticks as many as its degree: "选择基本体系" (objectName
// "BasicSystemDialog") hands the basic system formed to `chosen`;
// "换一个基本体系" (a `compared` system given) shows the two side by side
// in its table (grdCompare) and stays open. "推荐" ticks the recommended
// choice and states the rule; a refused choice leaves its reason in
// lblNote. Shown window-modal without blocking.
class BasicSystemDialog : public QDialog {
    Q_OBJECT

public:
    BasicSystemDialog(OriginalStructure original, int degree, std::optional<BasicSystem> compared,
                      std::function<void(const BasicSystem&)> chosen, QWidget* parent = nullptr);

    // Ticks exactly these restraints.
    void Tick(const std::vector<Restraint>& restraints);

private:
    // The note under the boxes, the dialog grown to hold it.
    void ShowNote(std::string_view text);
    void Recommend();
    void Accept();
    void Compare(const BasicSystem& other);

    OriginalStructure m_original;
    int m_degree;
    std::optional<BasicSystem> m_compared;
    std::function<void(const BasicSystem&)> m_chosen;
    std::vector<QCheckBox*> m_boxes;
    QLabel* m_note;
    QTableWidget* m_table;
};

}  // namespace tavrin
