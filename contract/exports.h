// The toolkit's exports are listed once, a table per library
// (contract/<LIBRARY>.exports.h), as Wine keeps one list of exports per library. A line
// per export:
//
//   STF_OP(result, Name, (parameters), (arguments), fake)   an operation the programs import
//   STF_OWN(result, Name, (parameters), (arguments))         shared among our libraries only
//   STF_BYNAME(result, Name, (parameters), (arguments))      looked up by name at run time
//
// `arguments` repeats the parameters' names, in order. `fake` is the answer of
// the host tests' fake toolkit (tests/fakes) for an operation it only records,
// or OWN for one it carries out by hand. The declarations (toolkit_api.h for
// the programs, stf_internal.h for our libraries), the fake's stubs and the
// .def files with their stack sizes (cmake/exports.cmake: four bytes an
// argument) are all made from the tables. Adding an export is one line in its
// library's table, plus its code.
//
// Whoever reads the tables defines the three macros and includes this file;
// it includes every table and undefines the macros again.

#include "contract/MSSHLSTF.exports.h"
#include "contract/MSCOMSTF.exports.h"
#include "contract/MSINSSTF.exports.h"
#include "contract/MSUILSTF.exports.h"
#include "contract/MSDETSTF.exports.h"

#undef STF_OP
#undef STF_OWN
#undef STF_BYNAME
