/** @file The direction buttons that the find and replace dialogs share. */
#pragma once

#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "search/FindRun.h"

namespace tw {

/// The search dialogs' frame: a fixed dialog with only the system menu and
/// the close box, kept above the documents it searches.
inline constexpr Qt::WindowFlags kSearchDialogFlags =
    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint;

/// "上を検索", "下を検索" and "最上部から検索" in a group without caption,
/// the last one checked. A click on any of them makes the active document's
/// next search start afresh.
class DirectionGroup : public QGroupBox {
  public:
    DirectionGroup(ISearchDocuments& docs, QWidget* parent) : QGroupBox(parent) {
        ShUp = new QRadioButton(QStringLiteral("上を検索"), this);
        ShDown = new QRadioButton(QStringLiteral("下を検索"), this);
        ShAll = new QRadioButton(QStringLiteral("最上部から検索"), this);
        ShAll->setChecked(true);
        auto* layout = new QVBoxLayout(this);
        for (QRadioButton* r : {ShUp, ShDown, ShAll}) {
            layout->addWidget(r);
            connect(r, &QRadioButton::clicked, this, [&docs] {
                const int active = docs.Active();
                if (active >= 1 && active <= docs.Count()) docs.Matcher(active).ResetLastHit();
            });
        }
    }

    FindDirection Direction() const {
        if (ShAll->isChecked()) return FindDirection::FromTop;
        return ShUp->isChecked() ? FindDirection::Up : FindDirection::Down;
    }

    QRadioButton *ShUp, *ShDown, *ShAll;
};

}  // namespace tw
