#include "tests/geometry/MessageBoxRecorder.h"

namespace {
std::vector<RecordedMessageBox>& recorded()
{
    static std::vector<RecordedMessageBox> boxes;
    return boxes;
}
}

std::vector<RecordedMessageBox> takeRecordedMessageBoxes()
{
    std::vector<RecordedMessageBox> boxes;
    boxes.swap(recorded());
    return boxes;
}

// Weak, so that it also links beside a platform layer that brings its own:
// the geometry tests pull in no other part of that layer, and the linker
// then takes this one rather than the archive's.
__attribute__((weak)) int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    recorded().push_back({owner, text != nullptr ? text : "", caption != nullptr ? caption : "", type});
    return IDOK;
}
