#pragma once
// GAL assembler source (.pld) in the syntax galasm and Galette read: the
// device line, the signature, the names of all pins in pin order (NC where
// unused, GND and VCC at the power pins), one equation per output with '*'
// for AND, '+' for OR and '/' for NOT, and a DESCRIPTION with the pin-out.
#include "galdesign.h"

#include <string>

std::string FormatGalSource(const GalDesign& design);
