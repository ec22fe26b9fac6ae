#include "DropSymbols.h"

namespace pipeloop
{

const QStringList& AllSymbolKeywords()
{
    static const QStringList keywords = {
        Symbol::Filter,         Symbol::FilterAuto,    Symbol::Dryer,
        Symbol::Gauge,          Symbol::Lubricator,    Symbol::Compressor,
        Symbol::Receiver,       Symbol::Valve,         Symbol::Regulator,
        Symbol::OnePortOutlet,  Symbol::TwoPortOutlet, Symbol::ThreePortOutlet,
        Symbol::FourPortOutlet, Symbol::MaleAdaptor,   Symbol::FemaleTee,
        Symbol::Reducer,        Symbol::AdaptorFemale, Symbol::Frl,
        Symbol::Coupler,        Symbol::AirHose,       Symbol::RecoilHose,
    };
    return keywords;
}

bool IsHoseSymbol(const QString& keyword)
{
    return keyword.contains(Symbol::AirHose) || keyword.contains(Symbol::RecoilHose);
}

} // namespace pipeloop
