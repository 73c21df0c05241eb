/** @file The Open and Save dialogs behind an interface, so tests can answer them. */
#pragma once

#include <string>

class QWidget;

namespace tw {

class IFileDialogs {
  public:
    virtual ~IFileDialogs() = default;
    /// The chosen file's name as the file system spells it; empty when cancelled.
    virtual std::string OpenFileName() = 0;
    /// `current` is the document's name, to start the dialog beside it.
    virtual std::string SaveFileName(const std::string& current) = 0;
};

/// The toolkit's dialogs with the filter "テキストファイル|*.txt|全てのファイル|*".
class QtFileDialogs : public IFileDialogs {
  public:
    explicit QtFileDialogs(QWidget* parent) : parent_(parent) {}
    std::string OpenFileName() override;
    std::string SaveFileName(const std::string& current) override;

  private:
    QWidget* parent_;
};

}  // namespace tw
