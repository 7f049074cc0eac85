#pragma once

#include "class_pool.h"

#include <QByteArray>

namespace pokorin {

// The pool as a table that a spreadsheet opens as it is: UTF-8 with its mark
// and lines ended by CR LF; a heading line and one row per bin (the bin, its
// pooled count, its theoretical probability and its share of the pooled
// balls), then a heading line and one row per run with balls in the pool
// (the device and the run, numbered, and its count in each bin).
QByteArray ClassCsv(const ClassPool &pool);

// The chart's points as such a table: a heading line, then one row per
// point (the pooled balls, the gap to the theory, and the band that chance
// alone explains at so many balls).
QByteArray GapCsv(const QList<GapPoint> &gaps);

} // namespace pokorin
