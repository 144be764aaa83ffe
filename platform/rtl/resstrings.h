// The platform's message texts. Texts other layers rely on word for word are
// marked; the others are this platform's own wording.
#pragma once

namespace brevant::res {

// Database messages, used verbatim by the dataset layer and the suite.
inline constexpr const char* SFieldAccessError = "Cannot access field '%s' as type %s";
inline constexpr const char* SInvalidBoolean = "\"%s\" is not a valid boolean value";
inline constexpr const char* SInvalidVarType = "Invalid variant type or size";
inline constexpr const char* SInternalError = "Internal error: %s";
inline constexpr const char* SNotEditing = "Dataset not in edit or insert mode";
inline constexpr const char* SFieldReadOnly = "Field '%s' cannot be modified";
inline constexpr const char* SDuplicateFieldName = "Duplicate field name '%s'";

// Conversion messages: each quotes the text that failed.
inline constexpr const char* SInvalidInteger = "'%s' is not a valid integer value";
inline constexpr const char* SInvalidFloat = "'%s' is not a valid floating point value";
inline constexpr const char* SInvalidCurrency = "'%s' is not a valid currency value";
inline constexpr const char* SInvalidDate = "'%s' is not a valid date";
inline constexpr const char* SInvalidTime = "'%s' is not a valid time";
inline constexpr const char* SInvalidDateTime = "'%s' is not a valid date and time";
inline constexpr const char* SInvalidBcd = "'%s' is not a valid BCD value";
inline constexpr const char* SInvalidSQLTimeStamp = "'%s' is not a valid SQL time stamp";
inline constexpr const char* SInvalidFormat = "Format '%s' invalid or incompatible with argument";
inline constexpr const char* SArgumentMissing = "No argument for format '%s'";
inline constexpr const char* SDateEncodeError = "Invalid argument to date encode";
inline constexpr const char* STimeEncodeError = "Invalid argument to time encode";
inline constexpr const char* SInvalidDateTimeValue = "Invalid date and time value (%s)";
inline constexpr const char* SAssignError = "Cannot assign a %s to a %s";
inline constexpr const char* SInvalidCast = "Invalid class typecast";

// Arithmetic.
inline constexpr const char* SZeroDivide = "Floating point division by zero";
inline constexpr const char* SOverflow = "Floating point overflow";
inline constexpr const char* SUnderflow = "Floating point underflow";
inline constexpr const char* SInvalidOp = "Invalid floating point operation";
inline constexpr const char* SDivByZero = "Division by zero";
inline constexpr const char* SIntOverflow = "Integer overflow";
inline constexpr const char* SRangeError = "Range check error";

// Variants.
inline constexpr const char* SVarTypeCastError =
    "Could not convert variant of type (%s) into type (%s)";
inline constexpr const char* SVarBadIndex = "Variant array index out of bounds";
inline constexpr const char* SVarNotArray = "Variant is not an array";
inline constexpr const char* SVarInvalidOp = "Invalid variant operation";
inline constexpr const char* SVarOverflow =
    "Arithmetic overflow converting variant of type (%s) into type (%s)";

// Lists and streams.
inline constexpr const char* SListIndexError = "List index out of bounds (%d)";
inline constexpr const char* SListCountError = "List count out of bounds (%d)";
inline constexpr const char* SListCapacityError = "List capacity out of bounds (%d)";
inline constexpr const char* SDuplicateString = "String list does not allow duplicates";
inline constexpr const char* SSortedListError = "Operation not allowed on sorted list";
inline constexpr const char* SReadError = "Stream read error";
inline constexpr const char* SWriteError = "Stream write error";
inline constexpr const char* SMemoryStreamError = "Out of memory while expanding memory stream";
inline constexpr const char* SFOpenErrorEx = "Cannot open file \"%s\". %s";
inline constexpr const char* SFCreateErrorEx = "Cannot create file \"%s\". %s";
inline constexpr const char* SSeekNotImplemented = "Seek not implemented";

// ---- BCD, SQL time stamps and variants (var) ----
inline constexpr const char* SBcdOverflow = "BCD overflow: %s is out of range";
inline constexpr const char* SInvalidBcdRecord = "Invalid BCD record (precision %d, scale %d)";
inline constexpr const char* SVarTypeCastErrorText =
    "Could not convert variant of type (%s) into type (%s): '%s'";
inline constexpr const char* SVarArrayCreate =
    "Cannot create a variant array of type (%s) with bounds %d..%d";

// ---- strings, string lists and streams (str) ----
inline constexpr const char* SStreamSizeError = "Invalid stream size (%d)";
inline constexpr const char* SFSetSizeError = "Cannot change the size of file \"%s\". %s";
inline constexpr const char* SFReadError = "Cannot read file \"%s\". %s";
inline constexpr const char* SFWriteError = "Cannot write file \"%s\". %s";

// ---- graphics: colours, images, canvases (gfx) ----
inline constexpr const char* SInvalidColor = "'%s' is not a valid color value";
inline constexpr const char* SInvalidBitmap = "Bitmap image is not valid: %s";
inline constexpr const char* SInvalidPng = "PNG image is not valid: %s";
inline constexpr const char* SInvalidIcon = "Icon image is not valid: %s";
inline constexpr const char* SUnknownPictureFormat = "Unknown picture format of \"%s\"";
inline constexpr const char* SImageTooLarge = "Image dimensions %d x %d are too large";
inline constexpr const char* SInvalidSurface = "Invalid pixel surface (%d x %d, stride %d)";
inline constexpr const char* SImageIndexError = "Image list index out of bounds (%d)";
inline constexpr const char* SScanLineError = "Scan line index out of range (%d)";

// ---- form streams: reader, writer, text form (filer) ----
inline constexpr const char* SInvalidStreamFormat = "Invalid stream format";
inline constexpr const char* SStreamTruncated = "Unexpected end of stream at offset %d";
inline constexpr const char* SInvalidValueType = "Invalid value type %d at offset %d";
inline constexpr const char* SInvalidStreamLength = "Invalid length %d at offset %d";
inline constexpr const char* SInvalidStreamName = "Invalid name '%s' at offset %d";
inline constexpr const char* SStreamNestingTooDeep = "Objects nested too deeply at offset %d";
inline constexpr const char* SValueOutOfRange = "Value out of range at offset %d";
inline constexpr const char* SPropertyReadError = "Error reading %s.%s: %s";
inline constexpr const char* SUnknownProperty = "Property %s does not exist";
inline constexpr const char* SReadOnlyProperty = "Property %s is read-only";
inline constexpr const char* SInvalidPropertyValue = "Invalid property value";
inline constexpr const char* SInvalidPropertyElement = "Invalid property element: %s";
inline constexpr const char* SMethodNotFound = "Method %s not found in %s";
inline constexpr const char* SMethodSignature = "Method %s does not match the event type %s";
inline constexpr const char* SUnresolvedReference = "Unresolved reference to %s in %s.%s";
inline constexpr const char* SAncestorNotFound = "Ancestor for '%s' not found";
inline constexpr const char* SNotAComponentClass = "Class %s is not a component class";
inline constexpr const char* SShortStringTooLong = "Name too long for the stream: '%s'";
inline constexpr const char* SStreamValueTooLarge = "Value too large for the stream (%d bytes)";
inline constexpr const char* SVariantNotStreamable = "A variant of type %d cannot be written";
inline constexpr const char* SWriteNestingTooDeep = "Objects nested too deeply while writing %s";
inline constexpr const char* SParseError = "%s on line %d";
inline constexpr const char* SParExpected = "%s expected";
inline constexpr const char* SParUnterminatedString = "Unterminated string";
inline constexpr const char* SParInvalidNumber = "Invalid number '%s'";
inline constexpr const char* SParInvalidString = "Invalid character code #%s";
inline constexpr const char* SParInvalidBinary = "Invalid binary value";
inline constexpr const char* SParInvalidValue = "Invalid property value";
inline constexpr const char* SParUnexpectedEnd = "Unexpected end of text";
inline constexpr const char* SParTrailingText = "Text after the end of the object";
inline constexpr const char* SParNestingTooDeep = "Nested too deeply";

// SDL backend.
inline constexpr const char* SSdlVideoInitFailed = "Cannot start the video system: %s";
inline constexpr const char* SSdlNoDisplay = "No display to open windows on (video driver %s)";
inline constexpr const char* SSdlCreateWindowFailed = "Cannot create a window: %s";

// ---- controls (control classes and forms) ----
inline constexpr const char* SParentRequired = "Control '%s' has no parent window";
inline constexpr const char* SCannotFocus = "Cannot focus a disabled or invisible window";
inline constexpr const char* SControlParentSetToSelf =
    "A control cannot have itself or a child as its parent";
inline constexpr const char* SWindowCreateFailed = "Cannot create the window of '%s'";

// ---- standard controls ----
inline constexpr const char* SNotebookPageNotFound = "Notebook page '%s' not found";

// ---- forms, application, menus, operating-system services ----
inline constexpr const char* SCannotShowModal = "Cannot make a visible window modal";
inline constexpr const char* SUnexpectedModal = "Unexpected %s: no scripted answer is queued";
inline constexpr const char* SModalStarved = "%s waits for input that can never come";
inline constexpr const char* SMenuIndexError = "Menu index out of range";
inline constexpr const char* SMenuReinserted = "Menu inserted twice";
inline constexpr const char* SMenuNotFound = "Sub-menu is not in menu";
inline constexpr const char* SMsgDlgOK = "OK";
inline constexpr const char* SMsgDlgCancel = "Cancel";
inline constexpr const char* SMsgDlgYes = "&Yes";
inline constexpr const char* SMsgDlgNo = "&No";
inline constexpr const char* SMsgDlgAbort = "&Abort";
inline constexpr const char* SMsgDlgRetry = "&Retry";
inline constexpr const char* SMsgDlgIgnore = "&Ignore";
inline constexpr const char* SStartProgramFailed = "Cannot start '%s': %s";
inline constexpr const char* SSetFolderFailed = "Cannot change to the folder '%s': %s";

// ---- edit controls ----
inline constexpr const char* SMaskEditErr =
    "Invalid input value '%s'. Use escape key to abandon changes";

// ---- dialogs ----
inline constexpr const char* SMsgDlgWarning = "Warning";
inline constexpr const char* SMsgDlgError = "Error";
inline constexpr const char* SMsgDlgInformation = "Information";
inline constexpr const char* SMsgDlgConfirm = "Confirm";
inline constexpr const char* SMsgDlgAll = "&All";
inline constexpr const char* SMsgDlgNoToAll = "N&o to All";
inline constexpr const char* SMsgDlgYesToAll = "Yes to &All";
inline constexpr const char* SMsgDlgHelp = "&Help";
inline constexpr const char* SColorDlgTitle = "Color";
inline constexpr const char* SColorDlgBadValue = "'%s' is not a colour value from 0 to 255";
inline constexpr const char* SOpenDlgTitle = "Open";
inline constexpr const char* SSaveDlgTitle = "Save As";
inline constexpr const char* SFileDlgNoFolder = "The folder '%s' does not exist";
inline constexpr const char* SFileDlgCannotRead = "Cannot read the folder '%s': %s";
inline constexpr const char* SFileDlgNotFound = "The file '%s' does not exist";
inline constexpr const char* SFileDlgIsFolder = "'%s' is a folder, not a file";
inline constexpr const char* SFileDlgOverwrite = "'%s' already exists.\nDo you want to replace it?";
inline constexpr const char* SFileDlgNotPicture = "'%s' is not a picture that can be opened: %s";
inline constexpr const char* SPictureFilter =
    "All pictures (*.bmp;*.png)|*.bmp;*.png|Bitmaps (*.bmp)|*.bmp|PNG images (*.png)|*.png";

}  // namespace brevant::res
