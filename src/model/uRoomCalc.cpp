// The zone's calculation operations: each runs one engine calculation on the zone's own
// record CP. The zone adds nothing of its own; the engine reads the inputs copied into
// the record and writes its results there.
#include "uFireClasses.h"

#include "uCeilingJet.h"
#include "uHeightTables.h"
#include "uOptimised.h"

bool TRoom::CalcCPSimple2()
{
    return ::CalcCPSimple2(CP);
}

bool TRoom::CalcCPSimple3()
{
    return ::CalcCPSimple3(CP);
}

bool TRoom::CalcCPSimple()
{
    return ::CalcCPSimple(CP);
}

bool TRoom::CalcCP()
{
    return ::CalcCP(CP);
}
