// Where a contents file stops being readable.
#include "launcher/ov3contentsfault.h"

TContentsFault ContentsFaultOf(const TKemXml& Doc) {
  const TKemXmlFault& fault = Doc.ReadFault();
  switch (fault.Kind) {
    case xfBracket:
      return {cfkBracket, fault.Line};
    case xfCutOff:
      return {cfkCutOff, fault.Line};
    case xfUnclosed:
      return {cfkUnclosed, fault.Line};
    case xfDeclaration:
      return {cfkDeclaration, fault.Line};
    case xfTooDeep:
      return {cfkTooDeep, fault.Line};
    case xfNone:
      break;
  }
  return {};
}
