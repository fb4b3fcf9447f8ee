#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "batch/BatchRun.h"

namespace tavrin::batch {

// Columns a UTF-8 text takes on a terminal: East Asian wide and full-width
// characters (the Chinese headers, "：", "（") take two, combining marks
// none, everything else one. Bytes that are not well-formed UTF-8 count one
// each.
int DisplayWidth(std::string_view text);

// The result as a reader follows it: the calculation form's caption, then
// for every item calculated its text, the result frame's title and the
// table with its columns aligned, and the case's answers to the item each
// marked 对 or 错 with its likely cause; the ledger once the coefficients are
// formed, the final reactions, the checks and each displacement asked for
// once the last item is; then every message shown, in order.
void WriteResultText(const RunResult& result, std::ostream& out);

// The result as one JSON object: calculationModel, caption, items,
// completed, steps [{item, title, table}], messages [{text, title?}],
// supports [{node, type, Fx, Fy, Fm}], elements [{Ni, Vi, Mi, Nj, Vj, Mj}],
// redundants, flexibility, freeTerms; caseReactions (per case 0..n, null
// for a case not calculated: [{node, type, Fx, Fy, Fm}], the supports then
// the hinges of attached parts), finalReactions (the same with the
// redundants, empty until the last item), ledger [{coefficient, terms
// [{member, L, EI, a1, a2, b1, b2, q, parabola, term}], total, stored}],
// checks [{what, where, value, tolerance, passed}] (empty until the last
// item); review [{item, checked, reason (when not checked), answers [{name,
// row, col, answer, right, cause}]}]; displacements {requested [{node,
// kind, terms (as the ledger's), Delta, sense}], nodes [{node, x, y,
// theta}]} (empty until the last item). 32-bit values as the shortest text that reads back as the same
// value.
std::string ResultJson(const RunResult& result);

// The drawing operations of each picture, keyed by its name, in drawing
// order with the state in force folded in, coordinates in picture units.
std::string TraceJson(const std::vector<Picture>& pictures);

}  // namespace tavrin::batch
