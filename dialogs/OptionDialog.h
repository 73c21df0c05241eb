/** @file "詳細設定": every user setting, with a live preview of the editor settings. */
#pragma once

#include <QDialog>
#include <QHash>
#include <functional>
#include <string>

#include "settings/KeyTexts.h"
#include "settings/OptionData.h"

class QListWidget;

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QKeySequenceEdit;
class QTabWidget;

namespace tw {

class IMessageBox;
class TVellEdit;
class VellEditWidget;

/// "詳細設定" (F4): the editor, font and colour, window, tab and keyboard pages.
class TOption : public QDialog {
    Q_OBJECT
  public:
    /// `options` is the record the dialog shows and, on "変更", stores into;
    /// `keys` is the frame's keyboard assignment, which the keyboard page
    /// edits in place.
    TOption(OptionData& options, KeyTexts& keys, IMessageBox& messages, QWidget* parent = nullptr);

    /// Runs after "変更" has stored the settings: the owner applies them to
    /// its documents, tab strip, tool bar and keys.
    std::function<void()> OnApplied;
    /// Runs on "キャンセル": the owner restores the keyboard assignment.
    std::function<void()> OnCancelled;
    /// Asks for a colour-scheme file to write (`save`) or to read; empty when
    /// cancelled. The toolkit's file dialog, starting in SchemeFolder.
    std::function<std::string(bool save)> ChooseSchemeFile;
    std::string SchemeFolder;

    /// Fills every control from the stored settings (the dialog's opening).
    void Odaizi();
    void OKClick();
    void CancelClick();

    TVellEdit& Preview();

    QTabWidget* PageControl2;
    QPushButton* OK;
    QPushButton* Cancel;
    // エディタ
    /// "関連付ける": makes the program the desktop's handler of text files, at once.
    QPushButton* btRegistory;
    /// "解除する": undoes btRegistory's association, at once.
    QPushButton* btCancelRegistory;
    QCheckBox *chEOF, *chCr, *chSpace, *chInyo, *chWordWrap, *chUnderLine;
    QLineEdit* txtInyo;
    QComboBox *cbWordWrap, *cbGyokan, *cbTab, *cbScroll;
    // フォント カラー
    QLineEdit* txtFont;
    QPushButton* btFont;
    QComboBox *cbFontSize, *cbColor;
    QListWidget* listColor;
    QLabel* lbColor;
    QPushButton* btClear;
    /// "設定保存": writes the preview's colours as a scheme file (the name is
    /// kept from the original program, whose captions are the other way round).
    QPushButton* btLoad;
    /// "読み込み": reads a scheme file into the preview.
    QPushButton* btSave;
    /// The live preview: a two-line sample drawn with the settings as they stand.
    VellEditWidget* EditTest;
    // ウィンドウ
    QCheckBox* chSaveWindow;
    QLineEdit *txtTop, *txtLeft, *txtHeight, *txtWidth;
    QComboBox* cbWindowState;
    QRadioButton *optMDI, *optSDI;
    QCheckBox *chReadMAX, *chReadMIN, *chUseTAB, *chCreateBlank, *chMaxWindow, *chMaxSize;
    QLineEdit *txtMaxWindow, *txtMaxSize;
    // タブ 特殊
    QCheckBox *chAutoSave, *chSameFile, *chToolBar, *chTabBox, *chMultiTabBox;
    QLineEdit *txtHour, *txtMinits, *txtSecond, *txtDay, *edTabWidth;
    QLineEdit *edTabFace, *edTabLight, *edTabShadow, *edTabText;
    // キーボード
    QComboBox* cbCategory;
    QListWidget* lsCommand;
    QLabel *lbExplanation, *lbOutSame;
    QKeySequenceEdit *hkNowCommand, *hkNewCommand;
    QPushButton *btComAssign, *btComDelet, *btComAllDelet;

    void cbCategoryChange();
    void lsCommandClick();
    void hkNewCommandChange();
    void btComAssignClick();
    void btComDeletClick();
    void btComAllDeletClick();

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* CreateEditorPage();
    QGroupBox* CreateAssociationGroup(QWidget* page);
    QWidget* CreateFontColorPage();
    QWidget* CreateWindowPage();
    QWidget* CreateTabPage();
    QWidget* CreateKeyboardPage();
    /// The selected command's slot; -1 when none is selected or it has none.
    int SelectedSlot() const;
    void ShowOutSame(const char* message);
    void ConnectPreview();
    void LoadPreview();
    void RelayOutPreview();
    void chSaveWindowClick();
    void chAutoSaveClick();
    void btFontClick();
    void listColorClick();
    void cbColorChange();
    void btClearClick();
    void btLoadClick();
    void btSaveClick();
    std::string SchemeFileDialog(bool save);
    void btRegistoryClick();
    void btCancelRegistoryClick();
    void ChangeTabColor(QLineEdit* edit);
    uint32_t TabColorFrom(QLineEdit* edit);
    uint32_t StoredTabColor(QLineEdit* edit, uint32_t stored);
    void ShowTabColor(QLineEdit* edit, uint32_t stored);
    uint32_t PreviewColor(int entry);
    void SetPreviewColor(int entry, uint32_t color);
    void StoreControls();

    OptionData& options_;
    KeyTexts& keys_;
    IMessageBox& messages_;
    uint32_t findColor_ = 0;  ///< the search-hit colour, which the preview has no use for
    QList<QWidget*> positionControls_;
    QList<QWidget*> backupControls_;
    /// The text each tab colour edit was loaded with.
    QHash<QLineEdit*, QString> loadedTabColors_;
};

}  // namespace tw
