// The waveform in the position bar: the loaded WAV's peaks drawn behind the knob, computed by the
// peak worker and kept for the last few files; a click on the track plays from that point.
#include "app/Unit1.h"
#include "app/pure/AppConfig.h"
#include "audio/WAVStream.h"
#include "audio/WAVUnit.h"
#include "audio/pure/PlayerText.h"

namespace {
// The peaks of a file as it is now, read with the formats of this setting: a file changed on
// the disk, or read under the other setting, is another overview.
std::string PeakKey(const std::string& path, bool hiRes)
{
    WIN32_FILE_ATTRIBUTE_DATA d;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d)) return path;
    return path + '|' + std::to_string(d.nFileSizeLow) + '|' + std::to_string(d.nFileSizeHigh) + '|' +
           std::to_string(d.ftLastWriteTime.dwLowDateTime) + '|' + std::to_string(d.ftLastWriteTime.dwHighDateTime) +
           (hiRes ? "|hires" : "");
}
}

std::shared_ptr<const TPeakBins> TSonidexForm::PeakCacheFind(const std::string& key)
{
    for (auto i = FPeakCache.begin(); i != FPeakCache.end(); ++i) {
        if (i->first != key) continue;
        // The most recent first: the last one is the one a new file pushes out.
        FPeakCache.splice(FPeakCache.begin(), FPeakCache, i);
        return FPeakCache.front().second;
    }
    return nullptr;
}

void TSonidexForm::ShowWaveformSoon()
{
    if (!FWaveformPosted) FWaveformPosted = PostMessageA(Handle(), WM_SHOW_WAVEFORM, 0, 0);
}

void TSonidexForm::ShowWaveform()
{
    int index = -1;
    const BoxItemDataType* record = SelectedRecord(index);
    // The media player plays whatever it can; DirectSound what the reader accepted.
    const bool media = PlayerState.PlayPath == 1;
    const bool wave = AppSettings.Waveform && record && record->Kind == KindWAV && PlayerState.FileSize != 0 &&
                      (media || (PlayerState.PlayPath == 0 && PlayerState.Layout.Plays));
    PosBar->SetJumpsOnClick(wave);
    const bool hiRes = media || AppSettings.HiRes;
    const std::string key = wave ? PeakKey(record->FileName(), hiRes) : std::string();
    if (key == FPeakKey) return;               // the same file: its overview stays or is on its way
    FPeakKey = key;
    if (++FPeakGeneration == 0) ++FPeakGeneration;   // 0 is the worker's "none"
    FPeaks.reset();
    FPeaksComplete = false;
    auto cached = key.empty() ? nullptr : PeakCacheFind(key);
    if (!key.empty() && !cached) {
        if (!FPeakWorker) FPeakWorker = std::make_unique<TPeakWorker>();
        FPeakWorker->Request(record->FileName(), hiRes, FPeakGeneration, Handle());
    } else if (FPeakWorker) {
        // A file whose overview is known drops the previous one's too: a worker reading on
        // would only take the processor from the next click's sound.
        FPeakWorker->Cancel(false);
    }
    if (cached) {
        FPeaks = std::move(cached);
        FPeaksComplete = true;
    }
    PosBar->Invalidate();
}

void TSonidexForm::AbandonPeaks()
{
    if (FPeakWorker) FPeakWorker->Cancel(true);
    if (++FPeakGeneration == 0) ++FPeakGeneration;
    FPeakKey.clear();
    FPeaks.reset();
    FPeaksComplete = false;
    PosBar->Invalidate();
}

void TSonidexForm::PeaksReady(WPARAM generation, LPARAM result)
{
    std::unique_ptr<TPeakResult> r(reinterpret_cast<TPeakResult*>(result));
    if (generation != FPeakGeneration) return;          // an earlier selection's
    FPeaks = std::make_shared<const TPeakBins>(std::move(r->Peaks));
    FPeaksComplete = r->Complete;
    if (r->Complete) {
        FPeakCache.emplace_front(FPeakKey, FPeaks);
        if (FPeakCache.size() > PeakCacheFiles) FPeakCache.pop_back();
    }
    PosBar->Invalidate();
}

void TSonidexForm::WaveformSettingChanged()
{
    // Switched off, the bar is as it always was; on, the sample loaded shows its overview.
    FPeakKey = "?";
    ShowWaveform();
}

void TSonidexForm::PosBarPaintTrack(TObject*, TCanvas& canvas, TRect band)
{
    if (!FPeaks || FPeaks->Bins.empty() || !AppSettings.Waveform) return;
    const int axis = (band.Top + band.Bottom - 1) / 2, half = axis - band.Top;
    const TColor background = PosBar->Parent() ? PosBar->Parent()->Color() : PosBar->Color();
    canvas.Brush.SetColor(TColor(WaveColour(ColorToRGB(background))));
    const std::vector<TPeak> columns = ColumnPeaks(FPeaks->Bins, band.Width());
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].Empty()) continue;
        const TPeakRows rows = PeakRows(columns[i], axis, half);
        const int x = band.Left + int(i);
        canvas.FillRect(Rect(x, rows.Top, x + 1, rows.Bottom + 1));
    }
}

void TSonidexForm::PlayFromPosBar()
{
    // A sound still playing has been moved there already, by PosBarChange.
    if (PlayerState.FileSize == 0 || !PlayerState.Layout.Plays || CurrentPlaying()) return;
    const uint32_t fileOffset = SeekOffsetFromBar(PlayerState.DataSize, PosBar->Position(), PosBar->Min(), PosBar->Max());
    const int32_t offset = static_cast<int32_t>(PlayerState.Layout.PlayedFromFile(fileOffset));
    if (!AppSettings.Streaming) {
        SetPlayCursor(offset);
        ApplyLoopFlag();                       // plays on from the cursor
        return;
    }
    // The stop button lets go of a stream's file: the line is played again, then moved.
    if (!StreamOpen()) PlaySelection();
    PlayStreamFrom(offset);
}
