/** @file Random edits on the editor control, checked against a plain string after every step. */
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "EditorHarness.h"
#include "RecordingSurface.h"
#include "editor/TabExpand.h"
#include "editor/VellView.h"
#include "search/FindMatch.h"
#include "textstore/ShiftJis.h"

namespace tw::test {

/// Where the model's choices come from: a seeded generator for the tests and
/// the soak, the bytes of an input for the fuzz target.
class ModelChoices {
  public:
    virtual ~ModelChoices() = default;
    /// A number in 0..n-1.
    virtual int Pick(int n) = 0;
    /// No choice is left: the run ends after the step under way.
    virtual bool Exhausted() const { return false; }
};

class RandomChoices : public ModelChoices {
  public:
    explicit RandomChoices(uint64_t seed) : rng_(seed) {}
    int Pick(int n) override { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

  private:
    std::mt19937_64 rng_;
};

/// The control with its view on a surface that draws nothing, so that the
/// editing keys run as the window delivers them, and searching through the
/// document window's match test.
struct ModelHarness {
    ModelHarness() {
        view.CreateView(400, 4 + 20 * 16);
        ed.OnFind = [this](TVellEdit&, std::string_view str, std::string_view findchr,
                           int32_t index, int32_t& x,
                           int32_t& len) { matcher.Match(str, findchr, index, x, len); };
    }

    RecordingMessageBox messages;
    MemoryClipboard clipboard;
    FixedMetrics metrics;
    BlankSurface surface;
    FakeCaret caret;
    FakeScrollBar vbar, hbar;
    FakeKeyboard keys;
    FakeWindowHost host;
    TVellEdit ed{EditorServices{&metrics, &clipboard, &messages, nullptr}};
    TVellView view{ed,
                   ViewServices{&metrics, &surface, &caret, &vbar, &hbar, &keys, &host, nullptr}};
    FindOptions findOptions;
    TFindMatcher matcher{findOptions};
};

/// One run of random editing. The reference is the logical text as a plain
/// string; every step applies the same change to both and compares the text
/// and the caret's place in it. Episodes of a few dozen steps end by undoing
/// everything (back to the episode's first text, unmodified, unless history
/// was lost) and redoing everything. Between the edits it moves the caret
/// and selects through the key table, and searches, which change nothing.
class EditorModel {
  public:
    explicit EditorModel(uint64_t seed)
        : owned_(std::make_unique<RandomChoices>(seed)), choices_(*owned_) {
        StartEpisode(true);
    }
    /// Choices from elsewhere; `choices` outlives the model.
    explicit EditorModel(ModelChoices& choices) : choices_(choices) { StartEpisode(true); }

    /// Runs until `steps` or the choices run out. Throws std::runtime_error
    /// describing the first fault found.
    void Run(int64_t steps) {
        for (int64_t i = 0; i < steps && !choices_.Exhausted(); ++i) {
            step_ = i;
            Step();
            if (++episodeSteps_ >= episodeLength_) EndEpisode();
        }
    }

    int64_t StepsDone() const { return step_; }

  private:
    struct Pos {
        int32_t x = 0, y = 0;
    };

    /// One edit as a change of the reference: `removed` at `at` replaced by
    /// `inserted`. Undo puts the caret after the re-inserted bytes, or before
    /// them for the records that keep it there (Delete key, overwritten
    /// text); once redone, those records come back as plain deletions.
    struct EditInfo {
        size_t at = 0;
        std::string removed, inserted;
        bool caretBefore = false;
    };

    // ---- randomness ---------------------------------------------------------

    int Pick(int n) { return choices_.Pick(n); }
    bool Chance(int percent) { return Pick(100) < percent; }

    std::string RandomChar() {
        static const char* const kDouble[] = {"\x82\xa0", "\x88\x9f", "\x8a\xbf", "\x81\x5b",
                                              "\x95\x5c", "\x83\x5c", "\x81\x40", "\xe0\x40"};
        const int k = Pick(100);
        if (k < 45) return std::string(1, static_cast<char>('a' + Pick(26)));
        if (k < 75) return kDouble[Pick(8)];
        if (k < 85) return std::string(1, static_cast<char>(0xA1 + Pick(0xDF - 0xA1 + 1)));
        if (k < 92) return "\t";
        if (k < 97) return " ";
        return "\\";
    }

    /// Shift-JIS text with CR LF breaks, now and then a long line, and rarely
    /// a byte sequence the editor must normalise (lone CR, NUL, lone LF).
    std::string RandomText(int maxChars) {
        std::string s;
        const int n = Chance(10) ? 60 + Pick(200) : Pick(maxChars + 1);
        for (int i = 0; i < n; ++i) {
            const int k = Pick(100);
            if (k < 8)
                s += "\r\n";
            else if (k == 8 && Chance(20))
                s += Chance(50) ? "\r" : (Chance(50) ? std::string(1, '\0') : "\n");
            else
                s += RandomChar();
        }
        return s;
    }

    /// A valid caret position, chosen uniformly by row.
    Pos RandomPos() {
        const TVellStrings& rows = h_.ed.Lines();
        Pos p;
        p.y = Pick(rows.Count());
        p.x = Pick(h_.ed.MaxCaretX(p.y) + 1);
        if (ByteTypeAt(rows.View(p.y), p.x + 1) == kTrailByte) --p.x;
        return p;
    }

    /// Mostly near `a`, so that edits stay local and texts grow.
    Pos NearbyPos(Pos a) {
        if (Chance(20)) return RandomPos();
        const TVellStrings& rows = h_.ed.Lines();
        Pos p;
        p.y = std::clamp(a.y + Pick(5) - 2, 0, rows.Count() - 1);
        p.x = Pick(h_.ed.MaxCaretX(p.y) + 1);
        if (ByteTypeAt(rows.View(p.y), p.x + 1) == kTrailByte) --p.x;
        return p;
    }

    size_t Offset(Pos p) const {
        size_t off = 0;
        for (int32_t y = 0; y < p.y; ++y)
            off += h_.ed.Lines().View(y).size();
        return off + static_cast<size_t>(p.x);
    }

    /// The last steps, for the report of a fault.
    void Log(const std::string& what) {
        history_.push_back(std::to_string(step_) + ": " + what);
        if (history_.size() > 16) history_.pop_front();
    }

    static std::string Show(std::string_view s) { return Readable(s); }

    static std::string At(Pos p) {
        return "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
    }

    // ---- the steps ------------------------------------------------------------

    void Step() {
        TVellEdit& e = h_.ed;
        if (e.SelectionExists()) e.ClearSelection();
        caret_ = CaretOffset();
        placed_ = true;
        const bool big = ref_.size() > 3000;
        if (Chance(8)) {
            if (Chance(60))
                KeyCommand();
            else
                Search();
            Check();
            return;
        }
        const int k = Pick(100);
        if (k < 14 && !big)
            InsertAtCaret();
        else if (k < 24)
            DeleteSelection();
        else if (k < 34)
            ReplaceRange();
        else if (k < 40)
            ReplaceLines();
        else if (k < 48)
            Paste();
        else if (k < 49)
            SelectAllAndDelete();
        else if (k < 60)
            EditingKey();
        else if (k < 73)
            UndoOrRedo(true);
        else if (k < 76)
            UndoByKey();
        else if (k < 88)
            UndoOrRedo(false);
        else if (k < 94)
            ToggleWrap();
        else
            ChangeColumn();
        Check();
    }

    size_t CaretOffset() const { return Offset({h_.ed.CaretX(), h_.ed.CaretY()}); }

    /// Enter, Backspace, Delete and typed characters, in insert or in
    /// overwrite mode, through the key table.
    void EditingKey() {
        const Pos p = RandomPos();
        h_.ed.GotoXY(p.x, p.y);
        const size_t o = CaretOffset();
        const int k = Pick(5);
        if (k == 0) {
            Log("Enter at " + At(p));
            Edit(o, 0, "\r\n");
            h_.view.KeyDown(VK_RETURN);
        } else if (k == 1) {
            Log("Backspace at " + At(p));
            const size_t n = CharBefore(o);
            if (n > 0) Edit(o - n, n, "");
            h_.view.KeyDown(VK_BACK);
        } else if (k == 2) {
            Log("Delete at " + At(p));
            const size_t n = CharAt(o);
            if (n > 0) Edit(o, n, "", true);
            h_.view.KeyDown(VK_DELETE);
        } else {
            const bool overwrite = k == 4;
            std::string c = RandomChar();
            if (c == "\t") c = "t";  // Tab is a key of its own
            Log(std::string(overwrite ? "overwrite " : "type ") + Show(c) + " at " + At(p));
            if (overwrite) h_.ed.ToggleInsertMode();
            if (overwrite)
                Overwrite(o, c);
            else
                Edit(o, 0, c);
            if (c.size() == 1)
                h_.view.CharTyped(static_cast<unsigned char>(c[0]));
            else
                h_.view.ImeCommit(c);
            if (overwrite) h_.ed.ToggleInsertMode();
        }
    }

    /// Bytes of the character before offset o: a line break counts whole.
    size_t CharBefore(size_t o) const {
        if (o == 0) return 0;
        if (o >= 2 && ref_.compare(o - 2, 2, "\r\n") == 0) return 2;
        return ByteTypeAt(ref_, static_cast<int32_t>(o)) == kTrailByte ? 2 : 1;
    }

    size_t CharAt(size_t o) const {
        if (o >= ref_.size()) return 0;
        if (ref_.compare(o, 2, "\r\n") == 0) return 2;
        return IsLeadByte(static_cast<unsigned char>(ref_[o])) && o + 1 < ref_.size() ? 2 : 1;
    }

    /// Overwrite counts bytes within the line, never takes its break, and
    /// replaces a double-byte character it would cut in half whole, padding
    /// with a space; the caret stays before the pad.
    void Overwrite(size_t o, const std::string& c) {
        const size_t lineStart = o < 2 ? 0 : [&] {
            const size_t b = ref_.rfind("\r\n", o - 2);
            return b == std::string::npos ? size_t{0} : b + 2;
        }();
        const size_t found = ref_.find("\r\n", o);
        const size_t lineEnd = found == std::string::npos ? ref_.size() : found;
        const std::string_view body = std::string_view(ref_).substr(lineStart, lineEnd - lineStart);
        const size_t x = o - lineStart, rest = lineEnd - o, n = c.size();
        size_t count = std::min(rest, n);
        std::string pad;
        if (x + n <= body.size() && ByteTypeAt(body, static_cast<int32_t>(x + n)) == kLeadByte) {
            count = std::min(rest, n + 1);
            pad = " ";
        }
        Edit(o, count, c + pad, count > 0);
        expected_ = o + n;
    }

    /// A caret key of the key table, with or without Shift and Ctrl; then,
    /// now and then, Ctrl+C. The text stays; the caret and the anchor stay
    /// on valid places, Ctrl+Home and Ctrl+End reach the ends of the text,
    /// and a copy takes the bytes between anchor and caret.
    void KeyCommand() {
        static constexpr int kKeys[] = {VK_LEFT,      VK_RIGHT,      VK_UP,     VK_DOWN,
                                        VK_HOME,      VK_END,        VK_PRIOR,  VK_NEXT,
                                        VK_OEM_COMMA, VK_OEM_PERIOD, VK_ESCAPE, 'A'};
        const Pos p = RandomPos();
        h_.ed.GotoXY(p.x, p.y);
        const int vk = kKeys[Pick(std::size(kKeys))];
        const bool shift = Chance(40), ctrl = vk == 'A' || Chance(30);
        Log(std::string(shift ? "Shift+" : "") + (ctrl ? "Ctrl+" : "") + "key " +
            std::to_string(vk) + " at " + At(p));
        h_.keys.shift = shift;
        h_.keys.control = ctrl;
        h_.view.KeyDown(vk);
        h_.keys.shift = h_.keys.control = false;
        placed_ = false;  // End and the arrows may stop at the end of a wrapped piece
        if (ctrl && vk == VK_HOME) expected_ = 0;
        if (ctrl && vk == VK_END) expected_ = ref_.size();
        if (!Chance(30)) return;
        h_.clipboard.bytes.reset();
        h_.keys.control = true;
        h_.view.KeyDown('C');
        h_.keys.control = false;
        const TSelection& sel = h_.ed.Selection();
        const size_t a = Offset({sel.Anchor.X, sel.Anchor.Y}), c = CaretOffset();
        if (!h_.ed.SelectionExists() || (a == c && !sel.AllSelected)) return;
        const std::string want =
            sel.AllSelected ? ref_ : ref_.substr(std::min(a, c), std::max(a, c) - std::min(a, c));
        if (h_.clipboard.bytes != want) Fail("Ctrl+C copied other bytes than the selection");
    }

    /// A search from the top and a few more down (each hit the next match in
    /// the text, after the last hit), then one up (a match before the caret).
    void Search() {
        std::string pattern;
        if (Chance(70) && !ref_.empty()) {
            const size_t from = Offset(RandomPos());
            pattern = ref_.substr(from, 1 + Pick(8));
        } else {
            pattern = RandomText(3);
        }
        // A search text holds no NUL and no lone CR, and starts with no LF:
        // none can be typed into the dialogs, and the caret cannot stand
        // inside a line break.
        std::erase(pattern, '\0');
        if (NeedsNormalizing(pattern)) pattern = NormalizeBreaks(pattern);
        if (pattern.empty() || pattern[0] == '\n') return;
        const bool caseSensitive = Chance(50);
        h_.findOptions = FindOptions{};
        h_.findOptions.CaseSensitive = caseSensitive;
        h_.findOptions.SearchDown = true;
        h_.matcher.ResetLastHit();
        const SearchPattern reference(pattern, caseSensitive);
        Log(std::string("search ") + Show(pattern) + (caseSensitive ? " (case)" : ""));

        h_.ed.SetFindText(pattern);
        h_.ed.FindFirst();
        size_t want = reference.FindIn(ref_, 0);
        for (int i = 0, n = 1 + Pick(4);;) {
            const TFindWalk& walk = h_.ed.FindWalk();
            if (want == SearchPattern::npos) {
                if (walk.HitLen() > 0) Fail("a hit where the text has no match");
            } else {
                if (walk.HitLen() == 0) Fail("no hit for the match at " + std::to_string(want));
                const size_t at = Offset({walk.HitX(), walk.HitY()});
                if (at != want)
                    Fail("hit at offset " + std::to_string(at) + ", the match at " +
                         std::to_string(want));
                expected_ = at;
            }
            if (++i >= n) break;
            // After the last match the walk says so once, then starts at the top.
            want = want == SearchPattern::npos
                       ? reference.FindIn(ref_, 0)
                       : reference.FindIn(ref_, want + static_cast<size_t>(walk.HitLen()));
            Log("find next");
            h_.ed.FindNext();
        }
        // Up: a match, before the caret when the walk stood on a hit. After a
        // miss the walk goes on from where that ended, which the caret does
        // not show.
        const bool fromHit = want != SearchPattern::npos;
        const size_t caret = CaretOffset();
        Log("find previous");
        h_.ed.FindPrev();
        const TFindWalk& walk = h_.ed.FindWalk();
        if (walk.HitLen() == 0) return;
        const size_t at = Offset({walk.HitX(), walk.HitY()});
        if (reference.FindIn(ref_, at) != at) Fail("an upward hit is no match");
        if (fromHit && at >= caret) Fail("an upward hit after the caret");
        expected_ = at;
    }

    /// Ctrl+Z through the key table: the same as the undo command.
    void UndoByKey() {
        h_.keys.control = true;
        UndoOrRedo(true, [this] { h_.view.KeyDown('Z'); });
        h_.keys.control = false;
    }

    /// A new layout keeps the caret on its byte.
    void ToggleWrap() {
        Log(h_.ed.WordWrap() ? "word wrap off" : "word wrap on");
        expected_ = caret_;
        h_.ed.SetWordWrap(!h_.ed.WordWrap());
    }

    void ChangeColumn() {
        const int32_t column = 10 + Pick(71);
        Log("column " + std::to_string(column));
        expected_ = caret_;
        // The same column makes no new layout: the caret stays as it was.
        if (column == h_.ed.Column()) placed_ = false;
        h_.ed.SetColumn(column);
    }

    void InsertAtCaret() {
        Pos p = RandomPos();
        h_.ed.GotoXY(p.x, p.y);
        const std::string text = RandomText(12);
        Edit(Offset({h_.ed.CaretX(), h_.ed.CaretY()}), 0, text);
        Log("insert " + Show(text) + " at " + At({h_.ed.CaretX(), h_.ed.CaretY()}));
        if (Chance(50))
            h_.ed.SetSelText(text);
        else
            h_.ed.ReplaceRange(text, -1, -1, -1, -1);
    }

    void DeleteSelection() {
        const Pos a = RandomPos(), b = NearbyPos(a);
        const size_t oa = Offset(a), ob = Offset(b);
        const size_t from = std::min(oa, ob), to = std::max(oa, ob);
        const std::string removed = ref_.substr(from, to - from);
        h_.ed.Select({a.x, a.y}, {b.x, b.y});
        Edit(from, to - from, "");
        Log("delete " + At(a) + "-" + At(b));
        if (Chance(50)) {
            h_.ed.SetSelText("");
        } else {
            h_.clipboard.bytes.reset();
            h_.ed.CutToClipboard();
            const bool copied = h_.clipboard.bytes && *h_.clipboard.bytes == removed;
            if (!copied) Fail("cut put something else on the clipboard");
        }
    }

    void ReplaceRange() {
        Pos a = RandomPos(), b = NearbyPos(a);
        if (Offset(b) < Offset(a)) std::swap(a, b);
        const std::string text = RandomText(16);
        Edit(Offset(a), Offset(b) - Offset(a), text);
        Log("replace " + At(a) + "-" + At(b) + " by " + Show(text));
        h_.ed.ReplaceRange(text, a.x, b.y, b.x, a.y);
    }

    void ReplaceLines() {
        const int32_t count = h_.ed.Lines().Count();
        int32_t from = Pick(count), to = Chance(20) ? Pick(count) : from + Pick(3);
        to = std::min(to, count - 1);
        if (to < from) std::swap(from, to);
        const size_t start = Offset({0, from});
        const size_t end = to + 1 < count ? Offset({0, to + 1}) : ref_.size();
        const std::string text = RandomText(60);
        Edit(start, end - start, text);
        Log("replace rows " + std::to_string(from) + ".." + std::to_string(to) + " by " +
            Show(text));
        h_.ed.ReplaceLines(text, from, to);
    }

    void Paste() {
        const std::string text = RandomText(20);
        h_.clipboard.bytes = text;
        const int how = Pick(10);
        if (how < 3) {
            Pos a = RandomPos(), b = NearbyPos(a);
            const size_t oa = Offset(a), ob = Offset(b);
            h_.ed.Select({a.x, a.y}, {b.x, b.y});
            Edit(std::min(oa, ob), std::max(oa, ob) - std::min(oa, ob), text);
        } else if (how < 4) {
            h_.ed.SelectAll();
            Edit(0, ref_.size(), text);
        } else {
            const Pos p = RandomPos();
            h_.ed.GotoXY(p.x, p.y);
            Edit(Offset({h_.ed.CaretX(), h_.ed.CaretY()}), 0, text);
        }
        Log("paste " + Show(text) + " how " + std::to_string(how) + " caret " +
            At({h_.ed.CaretX(), h_.ed.CaretY()}) + " anchor " +
            At({h_.ed.Selection().Anchor.X, h_.ed.Selection().Anchor.Y}));
        h_.ed.PasteFromClipboard();
    }

    void SelectAllAndDelete() {
        Log("select all and delete");
        h_.ed.SelectAll();
        Edit(0, ref_.size(), "");
        if (Chance(50))
            h_.ed.SetSelText("");
        else
            h_.ed.CutToClipboard();
    }

    void UndoOrRedo(bool undo, const std::function<void()>& press = {}) {
        TVellEdit& e = h_.ed;
        Log(undo ? (press ? "Ctrl+Z" : "undo") : "redo");
        const size_t before = e.UndoList().size();
        if (press)
            press();
        else if (undo)
            e.Undo();
        else
            e.Redo();
        if (lost_ || e.UndoLost()) {
            lost_ = true;
            ref_ = e.GetAllText();
            expected_.reset();
            return;
        }
        const size_t depth = e.UndoList().size();
        if (depth >= snapshots_.size() || !snapshots_[depth])
            Fail("undo or redo stopped between the records of one edit");
        ref_ = *snapshots_[depth];
        if (depth == before) return;  // nothing to undo or redo: the caret stays
        // A step replays its record and a group partner at the same place,
        // which may be the record of an earlier, separate deletion; the
        // caret then stands after that deletion's bytes.
        const size_t from = std::min(before, depth) + 1, to = std::max(before, depth);
        EditInfo* lowest = nullptr;
        for (size_t d = to; d >= from; --d)
            if (infos_[d]) lowest = &*infos_[d];
        if (!lowest || !infos_[to]) Fail("no record of the edit undone or redone");
        if (undo) {
            expected_ = lowest->caretBefore ? lowest->at : lowest->at + lowest->removed.size();
            return;
        }
        expected_ = infos_[to]->at + infos_[to]->inserted.size();
        for (size_t d = from; d <= to; ++d)
            if (infos_[d]) infos_[d]->caretBefore = false;  // redone records come back as kind 1
    }

    /// The same change to the reference, the caret it leaves (after the
    /// inserted text, else where the removed text began) and the undo depth
    /// it will leave.
    void Edit(size_t at, size_t length, const std::string& text, bool caretBefore = false) {
        pendingBefore_ = h_.ed.UndoList().size();
        const std::string inserted = NeedsNormalizing(text) ? NormalizeBreaks(text) : text;
        pending_ = EditInfo{at, ref_.substr(at, length), inserted, caretBefore};
        ref_.replace(at, length, inserted);
        expected_ = at + inserted.size();
        // An empty edit leaves the caret where the step put it.
        placed_ = length > 0 || !inserted.empty();
        pendingEdit_ = true;
    }

    void AfterEdit() {
        const size_t depth = h_.ed.UndoList().size();
        if (h_.ed.UndoLost()) lost_ = true;
        if (lost_) return;
        // An edit that recorded nothing (an empty one) leaves the redo list.
        if (depth == pendingBefore_ && !h_.ed.RedoList().empty()) return;
        snapshots_.resize(pendingBefore_ + 1);
        infos_.resize(pendingBefore_ + 1);
        while (snapshots_.size() < depth) {
            snapshots_.emplace_back(std::nullopt);  // inside one edit's group
            infos_.emplace_back(std::nullopt);
        }
        snapshots_.resize(depth + 1);
        infos_.resize(depth + 1);
        snapshots_[depth] = ref_;
        if (depth > pendingBefore_) infos_[depth] = pending_;
    }

    // ---- episodes ---------------------------------------------------------------

    void StartEpisode(bool newText) {
        TVellEdit& e = h_.ed;
        if (newText) {
            e.SetWordWrap(Chance(60));
            std::string text;
            for (int lines = Pick(60); lines > 0; --lines)
                text += RandomText(60) + "\r\n";
            e.SetAllText(text);
            ref_ = e.GetAllText();
            Log("new text " + Show(text) + " wrap " + std::to_string(e.WordWrap()));
        }
        e.ResetModified();
        e.UndoBuf = Chance(10) ? 5 + Pick(200) : 0xF8000;
        Log("episode, undo budget " + std::to_string(e.UndoBuf) + ", column " +
            std::to_string(e.Column()));
        episodeStart_ = ref_;
        snapshots_.assign(1, ref_);
        infos_.assign(1, std::nullopt);
        expected_.reset();
        lost_ = false;
        episodeSteps_ = 0;
        episodeLength_ = 20 + Pick(40);
        Check();
    }

    void EndEpisode() {
        TVellEdit& e = h_.ed;
        while (!e.RedoList().empty()) {
            UndoOrRedo(false);
            Check();
        }
        const std::string before = e.GetAllText();
        while (!e.UndoList().empty()) {
            UndoOrRedo(true);
            Check();
        }
        lost_ = lost_ || e.UndoLost();
        if (!lost_ && e.GetAllText() != episodeStart_) Fail("undoing everything");
        if (!lost_ && e.Modified()) Fail("modified after undoing everything");
        while (!e.RedoList().empty()) {
            UndoOrRedo(false);
            Check();
        }
        if (!lost_ && e.GetAllText() != before) Fail("redoing everything");
        ref_ = e.GetAllText();
        StartEpisode(Chance(30));
    }

    // ---- checks -------------------------------------------------------------------

    [[noreturn]] void Fail(const std::string& what) const {
        std::ostringstream out;
        out << what << " at step " << step_ << " (wrap " << h_.ed.WordWrap() << ", column "
            << h_.ed.Column() << ", rows " << h_.ed.Lines().Count() << ")\nlast steps:";
        for (const std::string& line : history_)
            out << "\n  " << line;
        throw std::runtime_error(out.str());
    }

    void Check() {
        if (pendingEdit_) {
            pendingEdit_ = false;
            AfterEdit();
        }
        if (h_.ed.GetAllText() != ref_) Fail("text differs from the reference");
        CheckStore();
        CheckCaret();
    }

    /// The caret stands where the last step puts it, and at the start of a
    /// row rather than at the end of the wrapped piece before it.
    void CheckCaret() {
        if (!expected_) return;
        const size_t at = CaretOffset();
        if (at != *expected_)
            Fail("caret at offset " + std::to_string(at) + " " +
                 At({h_.ed.CaretX(), h_.ed.CaretY()}) + ", expected " + std::to_string(*expected_));
        const std::string_view row = h_.ed.Lines().View(h_.ed.CaretY());
        if (placed_ && h_.ed.CaretY() + 1 < h_.ed.Lines().Count() && !HasTerminator(row) &&
            h_.ed.CaretX() == static_cast<int32_t>(row.size()))
            Fail("caret at the end of a wrapped piece " + At({h_.ed.CaretX(), h_.ed.CaretY()}));
        expected_.reset();
        placed_ = true;
    }

    void CheckStore() {
        const TVellEdit& e = h_.ed;
        const TVellStrings& rows = e.Lines();
        const int32_t last = rows.Count() - 1;
        if (last < 0) Fail("no rows");
        int32_t lineEnds = 0;
        const int32_t probe = Pick(rows.Count());
        int32_t endsBeforeProbe = 0;
        for (int32_t y = 0; y <= last; ++y) {
            if (y == probe) endsBeforeProbe = lineEnds;
            std::string_view row = rows.View(y);
            CheckRow(row, y == last);
            lineEnds += HasTerminator(row);
        }
        CheckPosition(e.CaretX(), e.CaretY(), "caret");
        CheckPosition(e.Selection().Anchor.X, e.Selection().Anchor.Y, "anchor");
        if (e.Modified() != (!e.UndoList().empty() || e.UndoLost())) Fail("modified flag");
        int32_t x = 0, y = probe;
        h_.ed.EntryToLogical(x, y);
        if (y != endsBeforeProbe) Fail("logical line number of row " + std::to_string(probe));
    }

    void CheckRow(std::string_view row, bool isLast) {
        if (row.empty()) Fail("empty row");
        if (isLast != (row.ends_with(kEndMarker))) Fail("end marker out of place");
        const std::string_view body = StripTerminator(row);
        if (body.find('\0') != std::string_view::npos) Fail("NUL inside a row");
        if (body.find('\r') != std::string_view::npos) Fail("split line break");
        if (!isLast && HasTerminator(row) && !row.ends_with(kCrLf)) Fail("odd terminator");
        if (!h_.ed.WordWrap()) {
            if (!isLast && !row.ends_with(kCrLf)) Fail("unwrapped row without line break");
            return;
        }
        if (ExpandedLength(body, h_.ed.TabCount()) > h_.ed.Column()) Fail("row too wide");
        if (!HasTerminator(row) && ByteTypeAt(row, static_cast<int32_t>(row.size())) == kLeadByte)
            Fail("double-byte character split");
    }

    void CheckPosition(int32_t x, int32_t y, const char* what) {
        const TVellStrings& rows = h_.ed.Lines();
        if (y < 0 || y >= rows.Count() || x < 0 || x > h_.ed.MaxCaretX(y) ||
            ByteTypeAt(rows.View(y), x + 1) == kTrailByte)
            Fail(std::string(what) + " at an invalid position (" + std::to_string(x) + ", " +
                 std::to_string(y) + ")");
    }

    std::unique_ptr<ModelChoices> owned_;
    ModelChoices& choices_;
    ModelHarness h_;
    std::string ref_, episodeStart_;
    std::vector<std::optional<std::string>> snapshots_;
    std::vector<std::optional<EditInfo>> infos_;
    EditInfo pending_;
    std::optional<size_t> expected_;
    bool placed_ = true;
    size_t caret_ = 0;
    std::deque<std::string> history_;
    size_t pendingBefore_ = 0;
    bool pendingEdit_ = false;
    bool lost_ = false;
    int episodeSteps_ = 0, episodeLength_ = 40;
    int64_t step_ = 0;
};

}  // namespace tw::test
