#include "job/Estimate.h"

static TText EstimateLabel(TJobSettings& settings, long long rate, const char* prefix)
{
    // Real divisions, truncated toward zero. Extended precision as far as the compiler
    // offers it, so that the same truncations happen in every build.
    const long double kilobits = static_cast<long double>(settings.CapacityMB) * KilobitsPerMegabyte;
    const long double seconds = kilobits / static_cast<long double>(rate);
    settings.Hours = static_cast<int>(kilobits / (static_cast<long double>(rate) * 3600));
    settings.Minutes = static_cast<int>((seconds - settings.Hours * 3600.0L) / 60);
    settings.Seconds = static_cast<int>(seconds - settings.Hours * 3600.0L - settings.Minutes * 60.0L);
    settings.HoursText = IntegerToText(settings.Hours);
    settings.MinutesText = IntegerToText(settings.Minutes);
    settings.SecondsText = IntegerToText(settings.Seconds);
    return prefix + settings.HoursText + " Hr " + settings.MinutesText + " min " +
           settings.SecondsText + " sec";
}

bool ComputeEstimate(TJobSettings& settings, TText& label43, TText& label85)
{
    settings.ParseCode = ParseInteger(settings.BitrateText, settings.BitrateValue);
    if (settings.ParseCode != 0)
        return false;
    // In 64 bits: a typed bitrate near the top of the 32-bit range must not wrap,
    // nor its product with 3600 in the divisor. A rate of zero or less has no
    // length to show.
    const long long rate = static_cast<long long>(settings.BitrateValue) + AudioAllowance;
    if (rate <= 0)
        return false;
    settings.BitrateValue = static_cast<int>(rate);
    settings.CapacityMB = Dvd43CapacityMB;
    label43 = EstimateLabel(settings, rate, "DVD 4,3 GB: ");
    settings.CapacityMB = Dvd85CapacityMB;
    label85 = EstimateLabel(settings, rate, "DVD 8,5 GB: ");
    return true;
}
