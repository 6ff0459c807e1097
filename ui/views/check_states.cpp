#include "ui/views/check_states.h"

#include <vector>

#include "ui/resource.h"
#include "ui/views/list_control.h"

namespace kavlo::ui {
namespace {

/// A picture and its meaning per stored number. Number 3 is written both for
/// a button that is off and for a locked box that is on: a report cannot tell
/// them apart, so it shows as the button.
struct StatePicture {
    int bitmap;
    std::wstring_view legend;
};
constexpr StatePicture kPictures[] = {
    {IDB_STATE_171, L"Checked"},               // 00
    {IDB_STATE_156, L"Unchecked"},             // 01
    {IDB_STATE_155, L"Selected"},              // 02
    {IDB_STATE_157, L"Not selected"},          // 03
    {IDB_STATE_158, L"Checked, locked"},       // 04
    {IDB_STATE_168, L"Unchecked, locked"},     // 05
    {IDB_STATE_167, L"Unchecked, locked"},     // 06
    {IDB_STATE_169, L"Selected, locked"},      // 07
    {IDB_STATE_170, L"Selected, locked"},      // 08
    {IDB_STATE_156, L""},                      // 09 (not written by check items)
    {IDB_STATE_166, L"Not selected, locked"},  // 10
    {IDB_STATE_165, L"Not selected, locked"},  // 11
    {IDB_STATE_172, L"Checked, locked"},       // 12
    {IDB_STATE_171, L"Checked"},               // 13
};

}  // namespace

HIMAGELIST LoadStateImages() {
    std::vector<int> bitmaps{IDB_STATE_156};  // index 0 is never drawn
    for (const StatePicture& picture : kPictures) bitmaps.push_back(picture.bitmap);
    return LoadImageList(32, 16, bitmaps);
}

int StateImageOf(bool hasState, int storedNumber) {
    if (!hasState || storedNumber < 0) return 0;
    return storedNumber + 1;
}

std::wstring_view StateLegend(int stateImage) {
    const int number = stateImage - 1;
    if (number < 0 || number >= static_cast<int>(std::size(kPictures))) return {};
    return kPictures[number].legend;
}

}  // namespace kavlo::ui
