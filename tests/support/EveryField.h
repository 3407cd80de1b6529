#pragma once

#include "db/AlbumRecord.h"
#include "db/TrackRecord.h"

// Records with every field away from its default, holding texts that trip careless code:
// quotes, markup, format directives, letters beyond Latin-1, very long texts, names new to
// any catalogue.
namespace EveryField
{

AlbumRecord album();
TrackRecord track(int number);

} // namespace EveryField
