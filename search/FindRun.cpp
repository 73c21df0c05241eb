#include "search/FindRun.h"

#include <utility>

#include "editor/VellEdit.h"

namespace tw {

namespace {

void Step(TVellEdit& edit, FindDirection direction) {
    switch (direction) {
        case FindDirection::FromTop:
            edit.FindFirst();
            break;
        case FindDirection::Up:
            edit.FindPrev();
            break;
        case FindDirection::Down:
            edit.FindNext();
            break;
    }
}

/// Keeps the window from painting while it lives. A replace-all run that
/// asks nothing used to paint every hit as it went, scrolling the page to
/// each, and spent most of its time there; the window is painted once
/// instead, when the run ends. The window hears where the caret went then
/// too (the redraw places it), not once for each hit with its ruler mark
/// and status line.
class UnpaintedRun {
  public:
    UnpaintedRun(TVellEdit& edit, bool unpainted)
        : edit_(edit), view_(unpainted ? edit.SetView(nullptr) : nullptr) {
        if (view_) std::swap(caretMoved_, edit.OnSelectionChange);
    }
    ~UnpaintedRun() {
        if (!view_) return;
        edit_.SetView(view_);
        std::swap(caretMoved_, edit_.OnSelectionChange);
    }
    UnpaintedRun(const UnpaintedRun&) = delete;
    UnpaintedRun& operator=(const UnpaintedRun&) = delete;

  private:
    TVellEdit& edit_;
    IEditorView* view_;
    TVellEdit::TNotifyEvent caretMoved_;
};

/// Carries a search that found nothing on through the other documents.
void SearchOthers(ISearchDocuments& docs, const FindRequest& request) {
    const int n = docs.Count();
    const int start = docs.Active();
    for (int d = start % n + 1; d != start; d = d % n + 1) {
        TVellEdit& edit = docs.Editor(d);
        TFindMatcher& matcher = docs.Matcher(d);
        edit.SetFindText(request.text);
        if (request.direction == FindDirection::FromTop) {
            matcher.ResetLastHit();
            edit.FindFirst();
        } else if (request.direction == FindDirection::Down) {
            docs.GoTop(d);
            docs.Settle();
            edit.FindNext();
        } else {
            docs.GoBottom(d);
            docs.Settle();
            edit.FindPrev();
        }
        docs.Focus(d);
        if (!matcher.NoHit) return;
    }
}

}  // namespace

void SetFindOptions(FindOptions& options, const FindRequest& request, bool writeAllFiles) {
    options.CaseSensitive = request.caseSensitive;
    if (writeAllFiles) options.AllFiles = request.allFiles;
    options.SearchUp = request.direction == FindDirection::Up;
    options.SearchDown = request.direction == FindDirection::Down;
    options.SearchFromTop = request.direction == FindDirection::FromTop;
    options.FindActive = true;
}

void RunFind(ISearchDocuments& docs, FindOptions& options, const FindRequest& request) {
    const int active = docs.Active();
    if (request.text.empty() || active < 1 || active > docs.Count()) return;
    SetFindOptions(options, request, true);
    TVellEdit& edit = docs.Editor(active);
    edit.SetFindText(request.text);
    // Searching down again from the hit just found goes on to the next one.
    if (request.direction == FindDirection::Down) edit.FindWalk().StepOffHit();
    Step(edit, request.direction);
    docs.Focus(active);
    if (request.allFiles && docs.Matcher(active).NoHit && docs.Count() > 1)
        SearchOthers(docs, request);
}

void RunReplace(ISearchDocuments& docs, FindOptions& options, ReplaceState& state,
                const FindRequest& request, std::string_view replacement, bool confirmEach,
                bool all) {
    const int active = docs.Active();
    if (request.text.empty() || active < 1 || active > docs.Count()) return;
    SetFindOptions(options, request, false);
    state.ConfirmEach = confirmEach;
    state.ReplaceText = std::string(replacement);
    state.ReplaceCancelled = false;
    TVellEdit& edit = docs.Editor(active);
    TFindMatcher& matcher = docs.Matcher(active);
    edit.SetFindText(request.text);
    // A hit the user declined is not asked about again; one the find dialog
    // found is the one to replace.
    if (request.direction == FindDirection::Down && state.HitDeclined) edit.FindWalk().StepOffHit();
    FindDirection direction = request.direction;
    const bool unpainted = all && !confirmEach;
    {
        const UnpaintedRun quiet(edit, unpainted);
        for (;;) {
            Step(edit, direction);
            if (state.ReplaceCancelled) break;
            if (!all || matcher.NoHit) break;
            if (direction == FindDirection::FromTop) {
                // The rest of the run goes down from the last hit: walking from
                // the top for every hit would make replacing all the hits of a
                // big text quadratic. The hits found are the same.
                direction = FindDirection::Down;
                options.SearchFromTop = false;
                options.SearchDown = true;
            }
        }
    }
    SetFindOptions(options, request, false);
    if (unpainted || !state.ReplaceCancelled) docs.Redraw(active);
}

}  // namespace tw
