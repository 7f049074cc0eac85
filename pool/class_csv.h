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

} // namespace pokorin
