// The 3 x 3 texture atlas of a 20-foot shipping container: the top strip is
// the corrugated long side (stretched once over the 5-unit box), the middle
// left cell the door end with its two doors, locking bars, cam handles and
// hinges, the middle centre cell the plain far end. The box faces show
// their cells mirrored (s runs to the viewer's left on every face), so the
// atlas is painted mirrored and everything reads the right way round.
#pragma once

#include "Image.h"
#include "Livery.h"

class ContainerAtlas {
public:
    explicit ContainerAtlas(const Livery& liveryValue) : livery(liveryValue) {}

    // the atlas, `size` pixels square
    Image render(int size) const;

private:
    Livery livery;
};
