#include "player/vis/spectrum.h"

#include <algorithm>
#include <cmath>

#include "player/vis/frame_pen.h"

TSpectrum::TSpectrum(int width, int height)
    : FrameBitmap(FramePen::NewFrame(width, height, BackgroundColor)),
      BackgroundBitmap(FramePen::NewFrame(width, height, Qt::black)) {}

void TSpectrum::Draw(QImage& target, const float* fft, int x, int y) {
    std::copy_n(fft, kBins, data_.begin());
    FramePen pen(FrameBitmap);
    if (ClearEachFrame)
        pen.Clear(BackgroundColor.rgb(), UseBackgroundImage ? &BackgroundBitmap : nullptr);
    const QRgb bar = BarColor.rgb();
    const QRgb peak = PeakMarkColor.rgb();
    const int columns = Style == 1 ? 85 : 501;
    const int base = y + FrameBitmap.height();
    for (int i = 0; i < columns; ++i) {
        // The mean of the ten bins after k (bin 0, the steady level, never counts); bins
        // past the FFT's end read as silence.
        const long k = static_cast<long>(i) * BinStep;
        float sum = 0;
        for (long bin = k + 1; bin <= k + 10; ++bin)
            if (bin >= 0 && bin < kBins) sum += data_[static_cast<std::size_t>(bin)];
        const float scaled = sum / 10 * 2000;
        // Compared as a float first: a huge or non-numeric magnitude must not reach the
        // integer conversion.
        const int h = scaled >= static_cast<float>(MaxBarHeight) ? MaxBarHeight
                      : scaled > 0                               ? static_cast<int>(scaled)
                                                                 : 0;
        Peaks[i] = h >= Peaks[i] ? h : std::max(Peaks[i] - PeakDecay, 0);
        Bars[i] = h >= Bars[i] ? h : std::max(Bars[i] - BarDecay, 0);

        // A bar of height b covers the b rows above the base line; a peak mark lies on
        // the row base - peak and is left out while it rests at 0.
        if (Style == 0) {
            const int column = x + i;
            if (Bars[i] > 0) {
                pen.MoveTo(column, base - 1);
                pen.LineTo(column, base - Bars[i], bar);
            }
            if (ShowPeakMarks && Peaks[i] > 0) pen.SetPixel(column, base - Peaks[i], peak);
        } else if (Style == 1) {
            const int left = x + i * (BarWidth + 1);
            if (ShowPeakMarks && Peaks[i] > 0)
                pen.FillRect(left, base - Peaks[i], BarWidth, 1, peak);
            pen.FillRect(left, base - Bars[i], BarWidth, Bars[i], bar);
        }
    }
    FramePen(target).Copy(FrameBitmap);
}
