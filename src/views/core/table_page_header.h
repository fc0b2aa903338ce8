// The head of a printed table page (aspect table, midpoints, their list): the page frame, the
// identification block of the inner chart at the upper left and of the outer chart at the upper
// right (the ornament "?;<=>" when there is none), and on a midpoint-list page its title.
#pragma once

#include <string>

#include "foundation/drawing/page_title.h"
#include "platform/core/dc.h"

class Chart;
class Configuration;

// What the page carries under its table (0..3; 3 nothing: the frame's bottom is raised by 110 mm),
// or minus the page number of a page of the midpoint list, whose title stands where
// PlacePageTitle puts it. Returns the blocks of the head, for a title placed beside or under them.
PageHeadBlocks DrawTablePageHeader(platform::Dc& dc, const Configuration& config,
                                   const Chart& inner, const Chart* outer, int sameLayout);
// The blocks DrawTablePageHeader draws, measured in `dc` without drawing.
PageHeadBlocks TablePageHeadBlocks(platform::Dc& dc, const Configuration& config,
                                   const Chart& inner, const Chart* outer);
// The title of page `page` of the midpoint list: "СПИСОК МИДПОЙНТОВ", "(стр. n)" after the first.
std::string MidpointListTitle(int page);
