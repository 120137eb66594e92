// The map (QUENMARSH_MAP_FILE): the marsh the chip lives in, at the size of the map canvas. A
// pond fed by a brook, muddy banks, reeds, stones and lily pads; in the lower left, where the
// chip hops, a springy trampoline of woven roots topped with moss.
#pragma once
#include <allegro5/allegro.h>

ALLEGRO_BITMAP* drawMarshMap();
