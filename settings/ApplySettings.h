/** @file Putting the settings record into an editor control. */
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "settings/OptionData.h"

namespace tw {

class TVellEdit;

/// The editor's share of the record, every value brought into the range the
/// options dialog offers, so a damaged "Option.dat" can neither crash an
/// editor nor leave it unusable.
struct EditorSettings {
    bool ShowLineNumber = false;
    bool EofDraw = true;
    bool CRDraw = true;
    bool ZspcDraw = true;
    std::string Inyostr;
    /// The quoted-row colour; the text colour while quoting is off, so quoted
    /// rows look like any other.
    uint32_t InyoColor = 0;
    bool WordWrap = true;
    int32_t Column = 70;
    int Gyokan = 0;
    int TabCount = 6;
    uint8_t ScrollStep = 2;
    bool UlineF = false;
    int FontSize = 14;
    std::string FontName;
    uint8_t FontStyle = 0;
    uint32_t FontColor = 0;
    uint32_t EditorColor = 0;
    uint32_t SelColor = 0;
    uint32_t URLColor = 0;
    uint32_t CREOFcolor = 0;
    uint32_t UlineColor = 0;
};

/// The ranges, those of the options dialog's lists.
inline constexpr int32_t kMinColumn = 1, kMaxColumn = 170;
inline constexpr int kMinGyokan = 0, kMaxGyokan = 100;
inline constexpr int kMinTabCount = 2, kMaxTabCount = 8;
inline constexpr int kMinScrollStep = 1, kMaxScrollStep = 100;
inline constexpr int kMinFontSize = 1, kMaxFontSize = 149;
/// The highest system colour number the platform knows.
inline constexpr uint32_t kMaxSystemColor = 30;

/// A direct colour 0x00BBGGRR or a known system colour 0x800000nn stays; any
/// other value keeps only its RGB bytes.
uint32_t SaneColor(uint32_t color) noexcept;

EditorSettings EditorSettingsFrom(const OptionData& options);

/// A rectangle in screen pixels.
struct ScreenRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    bool operator==(const ScreenRect&) const = default;
};

inline constexpr int32_t kMinFrameWidth = 160, kMinFrameHeight = 120;
inline constexpr int32_t kMinTabWidth = 10, kMaxTabWidth = 1000;

// Settings that take effect outside the editor, brought into ranges their
// users can live with.

/// The frame's normal placement: at least the minimum size, no larger than
/// `available`, and moved so that all of it lies inside `available`.
ScreenRect SaneFramePlacement(const OptionData& options, const ScreenRect& available);

/// The tab width: the tab strip divides by it and cuts captions by it.
int32_t SaneTabWidth(const OptionData& options) noexcept;

/// The backup timer's interval in milliseconds; 0 means no timer, as the
/// forerunner's timer stood still at 0. A zero-millisecond timer here would
/// back up without pause.
int32_t BackupTimerInterval(const OptionData& options) noexcept;

/// Day folders to keep, 0 keeping all: a negative count would otherwise
/// delete the oldest backup at every backup.
int32_t SaneBackupDays(const OptionData& options) noexcept;

/// The engine's half of a re-layout after new settings: rows cut again,
/// metrics from the new font, selection cleared, caret placed again.
void RelayOutEngine(TVellEdit& editor);

/// Called once after all values are set. An editor shown on screen passes
/// its view's RefreshView, Rewrap and RecreateView, in that order.
using RelayOut = std::function<void(TVellEdit&)>;

/// Gives the editor the settings in the order that keeps its layout right:
/// marks, quoting, wrap and spacing, font, colours, then `relayout`.
void ApplySettings(TVellEdit& editor, const OptionData& options,
                   const RelayOut& relayout = RelayOutEngine);

}  // namespace tw
