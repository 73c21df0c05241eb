/** @file Making the program the desktop's default handler of text files, and undoing that. */
#pragma once

#include <string>

namespace tw {

inline constexpr const char* kAssociatedMessage = "テキストファイルを関連付けました。";
inline constexpr const char* kAlreadyAssociatedMessage = "既に関連付けされています。";
inline constexpr const char* kAssociateFailedMessage = "関連付けに失敗、処理を中断しました。";
inline constexpr const char* kUnassociatedMessage = "テキストファイルの関連付けを解除しました。";
inline constexpr const char* kUnassociateFailedMessage = "関連付けの解除に失敗しました。";

/// The desktop entry the program writes for itself. It is hidden from menus
/// and apart from the entry installed with the program, which it never touches.
inline constexpr const char* kAssociationDesktopFile = "tarnwick-editor-open.desktop";
inline constexpr const char* kTextMimeType = "text/plain";

/// Where the user's associations live.
struct AssociationPlaces {
    /// The folder of the user's desktop entries.
    std::string Applications;
    /// The user's "mimeapps.list".
    std::string MimeAppsList;

    /// $XDG_DATA_HOME/applications and $XDG_CONFIG_HOME/mimeapps.list, with
    /// ~/.local/share and ~/.config where those are unset or relative.
    static AssociationPlaces FromEnvironment();
};

/// The Exec value that starts `program` (an absolute path) with the files
/// it is given; empty for a path a desktop entry cannot hold.
std::string AssociationExec(const std::string& program);

/// True when the default handler of text files is the program's desktop
/// entry and that entry starts `program`.
bool IsAssociated(const AssociationPlaces& places, const std::string& program);

/// "関連付ける": writes the desktop entry and puts it first among the
/// default handlers of text files. Returns the message to show.
std::string Associate(const AssociationPlaces& places, const std::string& program);

/// "解除する": when `program` is the associated one, takes the program's
/// desktop entry out of the defaults (other handlers stay, in their order)
/// and removes the entry. Returns the message to show; empty when nothing
/// was done.
std::string Unassociate(const AssociationPlaces& places, const std::string& program);

}  // namespace tw
