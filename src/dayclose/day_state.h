// What the day-closing operations share: the Reading X of a "with report"
// operation whose report could not be opened, and the report opening itself.
#pragma once

namespace ecf::dayclose {

// Set when a Reading X was printed for an operation whose management report
// then failed to open: running that operation again opens only the report,
// so the reading is not printed twice. Not kept across host restarts.
bool &leitura_x_sem_relatorio();

// The report opening of the "with report" operations: a management report
// on the MFD models, command 20 with no argument on the others. On success
// the record shows the report open and the day begun, with an empty buffer.
int abre_relatorio_do_dia();

}  // namespace ecf::dayclose
