// Forward declarations of the run-time library's classes, for headers that
// only name them (pointers, references, parameters); sources include the
// full headers.
#pragma once

namespace brevant {

class TObject;
class TPersistent;
class TMetaClass;
using TClass = const TMetaClass*;
class Exception;
class TVarRec;
struct TFormatSettings;
class TList;
class TStrings;
class TStringList;
class TStream;
class TMemoryStream;
class TStringStream;
class TFileStream;
class Variant;
struct Currency;
struct TBcd;
struct TSQLTimeStamp;
struct TMethod;
template <class Signature>
class TEvent;
template <class E>
class TSet;

}  // namespace brevant
