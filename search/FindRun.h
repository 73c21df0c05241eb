/** @file What "検索", "置換" and "全て置換" do to the open documents. */
#pragma once

#include <string_view>

#include "search/FindMatch.h"
#include "search/ReplaceHit.h"

namespace tw {

class TVellEdit;

/// The documents a search may visit, numbered 1..N as the frame numbers them.
class ISearchDocuments {
  public:
    virtual ~ISearchDocuments() = default;
    virtual int Count() const = 0;
    /// The active document's number, 0 when there is none.
    virtual int Active() const = 0;
    virtual TVellEdit& Editor(int number) = 0;
    virtual TFindMatcher& Matcher(int number) = 0;
    virtual void Focus(int number) = 0;
    /// The caret to the very start or end of the text, as Ctrl+Home and Ctrl+End.
    virtual void GoTop(int number) = 0;
    virtual void GoBottom(int number) = 0;
    /// Draws the document again after a replace run; its rows keep their layout.
    virtual void Redraw(int number) = 0;
    /// Lets pending window work run, so a moved caret is painted first.
    virtual void Settle() = 0;
};

enum class FindDirection { Up, Down, FromTop };

/// The choices of a dialog at the moment its button is pressed.
struct FindRequest {
    std::string_view text;
    FindDirection direction = FindDirection::FromTop;
    bool caseSensitive = false;
    bool allFiles = false;
};

/// Writes the options the documents' handlers read during the search.
void SetFindOptions(FindOptions& options, const FindRequest& request, bool writeAllFiles);

/// One search in the active document and, with `allFiles`, when it finds
/// nothing, in the others in turn until one finds the text. An empty text
/// does nothing.
void RunFind(ISearchDocuments& docs, FindOptions& options, const FindRequest& request);

/// "置換" (`all` false: one hit) or "全て置換" in the active document. The
/// documents' hit handlers do the replacing while the replace dialog shows.
void RunReplace(ISearchDocuments& docs, FindOptions& options, ReplaceState& state,
                const FindRequest& request, std::string_view replacement, bool confirmEach,
                bool all);

}  // namespace tw
