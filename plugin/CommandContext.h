#pragma once
// CommandContext: the object one host command runs in. The dispatcher builds a fresh one on its
// stack for every invocation and destroys it afterwards; nothing in it survives into the next
// command. As a QVConfig it holds the user configuration; it owns the message catalogue, the
// pen-class tables, the line-type and colour definitions and the shape references of the command.

#include <cstdarg>
#include <cstdint>

#include "config/QVConfig.h"
#include "foundation/RWCString.h"
#include "foundation/RWTHashDict.h"
#include "foundation/RWTValOrderedVector.h"
#include "host/api.h"
#include "plugin/DefColorItem.h"
#include "plugin/MetafileConverter.h"
#include "plugin/ShapeRefList.h"

class m2dDrawingC;
class m2dFigureC;
class m2dLineC;
class m2dArcC;
class m2dCircleC;
class m2dEllipseC;
class m2dEllipseArcC;
class m2dTextC;
class m2dIntCrvC;
class m2dHatchC;
class m2dHatchLoopRefListC;
class m2dShapeBaseC;
class mBaseCircle2dC;

// Pen classes: the indices of the layer, line-type and colour tables. Hatch and Cosm are kept in
// members of their own.
enum PenClass : int {
  kPenSolidHeavy = 0,
  kPenSolidLight = 1,
  kPenHidden = 2,
  kPenCenter = 3,
  kPenHeavyDashDot = 4,
  kPenClassCount = 5,
};

// Ids of the registered settings of the user configuration ("$QUORVEL_USER/plinth.cfg").
enum UserSetting : int {
  kSetInchAllowed = 1,      // Options/InchAllowed        "1"
  kSetAcadLin = 2,          // Options/AcadLin            "acad.lin"
  kSetLayerFirst = 3,       // Layer/SolidHeavy .. Layer/HeavyDashDot (3..7), "0"
  kSetLayerHatch = 8,       // Layer/Hatch                "0"
  kSetLayerCosm = 9,        // Layer/Cosm                 "" (no cosmetic layer)
  kSetLineTypeFirst = 10,   // LineType/SolidHeavy .. LineType/HeavyDashDot (10..14)
  kSetLineTypeHatch = 15,   // LineType/Hatch             "Continuous"
  kSetColourFirst = 16,     // LineColor/SolidHeavy .. LineColor/HeavyDashDot (16..20), "7"
  kSetColourHatch = 21,     // LineColor/Hatch            "7"
  kSetSatFileName = 22,     // XCHG3D/SATFileName         "c:\acadxchg.sat"
  kSetSatVersion = 23,      // XCHG3D/SATVersion          "1.6"
  kSetMetaFileName = 24,    // XCHG2D/MetaFileName        "c:\plinth.out"
  kSettingCount = 24,
};

// The catalogue file, expanded by the dispatcher before readCatalogue.
inline constexpr const char* kCatalogueFileName = "$QUORVEL/lang/$QUORVEL_LANGUAGE/kestrix.nls";
// The user configuration, expanded by QVConfig's loader.
inline constexpr const char* kUserConfigFileName = "$QUORVEL_USER/plinth.cfg";
// The definition files of line types and colours.
inline constexpr const char* kLineTypeDefinitionsFileName = "$QUORVEL_SETUP/dxflinetypes.def";
inline constexpr const char* kColourDefinitionsFileName = "$QUORVEL_SETUP/dxflinecolors.def";

class CommandContext : public QVConfig {
 public:
  // Block and key names compare ignoring case; the configuration is never saved on destruction.
  CommandContext();
  ~CommandContext() override;
  CommandContext(const CommandContext&) = delete;
  CommandContext& operator=(const CommandContext&) = delete;

  // Loads what the commands share, in this order: the user configuration, the message
  // catalogue of the configured language ("$QUORVEL/lang/$QUORVEL_LANGUAGE/kestrix.nls"), the
  // line-type and colour definitions and the pen-class tables built from them.
  void loadForCommand();

  // ---- user configuration
  // Loads "$QUORVEL_USER/plinth.cfg" (a missing or unreadable file leaves every setting at its
  // default), registers the 24 settings and copies the exchange file names and SAT version.
  void loadUserConfig();
  // Setting Options/InchAllowed read as a truth value.
  bool isInchAllowed();
  // 0 = millimetres, 1 = inch mode (an imperial drawing whose configuration allows it).
  void setInchMode(std::uint8_t flag) { inchFlag_ = flag; }
  std::uint8_t inchMode() const { return inchFlag_; }

  // Pen-class tables; an index outside the table gives "0", "CONTINUOUS" or 7.
  RWCString layerOfPenClass(int index) const;
  RWCString lineTypeOfPenClass(int index) const;
  int colourOfPenClass(int index) const;
  const RWCString& hatchLayer() const { return hatchLayer_; }
  const RWCString& hatchLineType() const { return hatchLineType_; }
  std::int32_t hatchColour() const { return hatchColour_; }
  const RWCString& cosmeticLayer() const { return cosmeticLayer_; }

  // The definitions for the options dialog's pick lists.
  RWTValOrderedVector<DefColorItem>& colourDefinitions() { return colourDefinitions_; }
  RWTValOrderedVector<RWCString>& lineTypeNames() { return lineTypeNames_; }

  const RWCString& metafileName() const { return metafileName_; }
  const RWCString& satFileName() const { return satFileName_; }
  const RWCString& satVersion() const { return satVersion_; }
  ShapeRefList& shapeReferences() { return shapeReferences_; }

  // ---- message catalogue and output
  // Reads the catalogue file (an already expanded path). A file that cannot be opened leaves the
  // catalogue empty; nothing is reported. A translation with a field width or precision over 256
  // is not stored, so its source text is shown.
  void readCatalogue(const RWCString& path);
  // The stored translation of key, or key itself when there is none or it is empty.
  RWCString translate(const RWCString& key) const;
  // Translates the format, formats the arguments into it and stores the text in result, which is
  // returned. The text is cut only beyond 65535 bytes (64 KiB with the terminating NUL).
  RWCString& formatMessage(RWCString& result, const char* format, ...)
      __attribute__((format(printf, 3, 4)));
  RWCString& formatMessageV(RWCString& result, const char* format, va_list args);
  // Translates, formats and shows the text in the host's modal alert box.
  void alertMessage(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Translates and prints "\n" + translation + "\n" on the host's command line, formatted with
  // the arguments.
  void printMessage(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // The catalogue's backslash escapes decoded (\\ \n \a \r \t \b \f, \NUMBER read as strtol with
  // base 0); any other escaped character is dropped with its backslash, a trailing backslash too.
  // With dropNul a number that gives 0 is dropped; otherwise it becomes a NUL character.
  static RWCString decodeEscapes(const RWCString& text, bool dropNul);
  // Number of catalogue entries (for the tests and the options dialog).
  std::size_t catalogueEntries() const { return catalogue_.entries(); }

  // ---- line-type and colour definitions
  // Fills the line-type names and colour definitions from the two definition files.
  void loadLineTypeAndColourDefinitions();
  // Fills the pen-class tables and the hatch and cosmetic members from the settings.
  void buildPenClassTables();
  // "BYBLOCK" or "BYLAYER" when the text (in capitals) is that word or on the BYNAME list of that
  // word; else the text unchanged.
  RWCString translateLineTypeName(const RWCString& text);
  // The host colour number of a colour text: 0 BYBLOCK, 256 BYLAYER, a defined colour name, or
  // the number the text starts with. An empty text gives 7, the pen-class default.
  int parseColour(const RWCString& text);

  // ---- layers, line types and block names (implemented with the commands)
  // 1 when every pen-class layer exists and its line type is loaded, else -1 (reported).
  std::int32_t prepareLayers();
  bool hasTableEntry(const char* table, const RWCString& name);
  bool hasLayer(const RWCString& name);
  bool hasLineType(const RWCString& name);
  bool hasBlock(const RWCString& name);
  // 1, or -1 when the layer or its line type failed (reported on the command line).
  std::int32_t createLayer(const RWCString& layer, const RWCString& lineType, int colour);
  // Whether the line type exists afterwards (loaded from the configured line-type file).
  bool loadLineType(const RWCString& lineType);
  // The part's name with " View" and the view number (unless it is -1), cut to 250 characters,
  // with the characters a block name may not hold replaced by blanks.
  RWCString composeBlockName(const RWCString& name, int viewNumber);

  // ---- catalogue programs and launcher (implemented with the commands)
  // Deletes the old exchange file, builds the exchange arguments and returns runSibling.
  std::int32_t exchangeMetafile(const char* programEntry, const char* serverAndTopic);
  std::int32_t exchangeSat(const char* programEntry, const char* serverAndTopic);
  // 1 when the launcher was started and has ended; -1 when launcher or program is missing or the
  // start failed (each shown in an alert box).
  std::int32_t runSibling(const char* programEntry, const RWCString& arguments);
  // Starts a process from a command line; started tells whether it runs. 0 is no process; the
  // caller owns the handle until it closes it.
  std::int64_t startProcess(const RWCString& commandLine, bool& started);
  // Dispatches every window message waiting in the host's queue.
  void pumpMessages();

  // ---- part insertion (PartInsertion.cpp)
  // -1 when the file cannot be opened for reading (also when it is not a regular file: a folder, a
  // pipe or a device), 0 when its first line begins with "000" (no part handed over), else 1.
  std::int32_t checkMetafile(const RWCString& fileName);
  // checkMetafile with the outcome told to the user: true when the file holds a part; otherwise
  // "not found" or "no part handed over" is printed and false returned.
  bool metafileHoldsPart(const RWCString& fileName);
  // Builds the 2D part of the exchange file and lets the user drag and turn it. -1 on a missing
  // or empty exchange file, else the converter's result.
  std::int32_t insertMetafilePart(const RWCString& fileName);
  // Imports the SAT file, makes a uniquely named block of what the import created, inserts it
  // and lets the user drag it. 0 when the file does not exist, else 1.
  std::int32_t insertSatPart(const RWCString& fileName);
  // Drag of the set: the picked point comes back in point ((0, 0, 0) when cancelled).
  std::int32_t dragSelection(const ads_name set, const char* prompt, ads_point point);
  // The angle in degrees that the user gives about basePoint; 0.0 when declined. Returns 1.
  std::int32_t getRotationAngle(const ads_point basePoint, const char* prompt, double& angle);
  // Moves the set by x and y of the point; 0 when the host did it, else -1.
  std::int32_t moveSelection(const ads_name set, const ads_point point);
  // Turns the set about the point by the angle in degrees; 0 when the host did it, else -1.
  std::int32_t rotateSelection(const ads_name set, double angle, const ads_point point);
  // The z coordinate of a host point.
  static double pointZ(const ads_point point) { return point[2]; }

  // ---- metafile conversion (MetafileConverter.cpp)
  // Reads the metafile and builds its part in the drawing; on success the caller's set holds
  // the new INSERT (block mode) or the new entities. Point in drawing units, angle in degrees.
  // 1 on success, -1 on failure (reported).
  std::int32_t convertMetafile(const RWCString& fileName, const ads_name callerSet,
                               std::uint8_t forceBlock, double x, double y, double angle);
  std::int32_t convertDrawing(const m2dDrawingC& drawing, const ads_name callerSet,
                              std::uint8_t forceBlock, double x, double y, double angle);
  std::int32_t convertFigure(const m2dFigureC& figure, const ads_name callerSet,
                             std::uint8_t forceBlock, double x, double y, double angle);
  // Entity makers: 1 with the new entity's name in out, or -1 when the host refused it
  // (reported).
  std::int32_t makeLine(const m2dLineC& shape, int penClass, int cosmetic, ads_name out);
  std::int32_t makeArc(const m2dArcC& shape, int penClass, int cosmetic, ads_name out);
  std::int32_t makeCircle(const mBaseCircle2dC& shape, int penClass, int cosmetic, ads_name out);
  std::int32_t makeEllipse(const m2dEllipseC& shape, int penClass, int cosmetic, ads_name out);
  std::int32_t makeEllipseArc(const m2dEllipseArcC& shape, int penClass, int cosmetic,
                              ads_name out);
  std::int32_t makeMText(const m2dTextC& shape, int penClass, int cosmetic, ads_name out);
  // A curve that splits into nothing makes no entity and returns 1 with out cleared; one that
  // splits into a single circle makes a CIRCLE; any other a POLYLINE of all its pieces, a circle
  // after other pieces as two half circles (bulge 1) from their end point.
  std::int32_t makePolyline(const m2dIntCrvC& shape, int penClass, int cosmetic, ads_name out);
  // The pen class of a line style ("SHAPETYP") and width ("SHAPEWIDTH").
  static int penClassFor(int lineStyle, int width);

  // ---- hatch conversion (HatchConversion.cpp)
  // 1 with the new HATCH in out, -1 when the host refused it (reported).
  std::int32_t makeHatch(const m2dHatchC& hatch, ads_name out);
  // The number of edges that appendHatchEdges gives for the loop's boundary shapes.
  std::int32_t countLoopEdges(const m2dHatchLoopRefListC& references);
  // The edge groups of one boundary shape, or null when it gives none. The caller releases it.
  // A curve gives the edges of all its pieces: a circle that is the whole curve one full circle,
  // one after other pieces two half-circle arcs from their end point.
  resbuf* appendHatchEdges(const m2dShapeBaseC& shape);
  // A one-element chain with group 330 naming the entity made from the shape, or null when the
  // shape has none.
  resbuf* appendHatchSources(const m2dShapeBaseC& shape);
  // Links second behind the last element of first; returns the head (second when first is null).
  static resbuf* appendToGroupList(resbuf* first, resbuf* second);

  // ---- connection command (ConnectionCommand.cpp)
  // Asks for the joint kind and the picked lines and measures them: the hole point, the joint's
  // angle in degrees and the plate thicknesses in drawing units (d2 is 0 for a blind hole).
  // 0 when the input is usable, -1 on cancel or bad input ("Ungültige Angaben" reported).
  std::int32_t readConnectionInput(double& holeX, double& holeY, double& angle, double& d1,
                                   double& d2);
  // The type code of an entity by its group 0 (see ConnectionCommand.h); -1 for any other type
  // or an entity the host cannot read.
  int entityTypeCode(const ads_name entity);
  // The x and y of groups 10 and 11 of a LINE (z set to 0); false when the entity cannot be
  // read or lacks either group.
  bool lineEndPoints(const ads_name entity, ads_point start, ads_point end);

  // ---- the command functions. Each returns -1 when it failed or was cancelled and another
  // value, as a rule 1, when it is done; each reports its own failures.
  std::int32_t runViewerCommand();        // 0  "C:TROVviewer"
  std::int32_t runConnectionCommand();    // 1  "C:TROVcon"
  std::int32_t runAssemblyCommand();      // 2  "C:TROVass"
  std::int32_t runShaftCommand();         // 3  "C:TROVshaft"
  std::int32_t runOptionsDialog();        // 4  "C:TROVoptions"
  std::int32_t runOpenMetafileCommand();  // 5  "C:TROVopenps2"
  std::int32_t runViewer3dCommand();      // 6  "C:TROVviewer3d"
  std::int32_t runConnection3dCommand();  // 7  "C:TROVcon3d": does nothing, returns 1
  std::int32_t runShaft3dCommand();       // 8  "C:TROVshaft3d"
  std::int32_t runAssembly3dCommand();    // 9  "C:TROVass3d"

 private:
  // Layer, line type and colour of an entity of the pen class (the cosmetic layer when the flag
  // is set and one is configured). The texts point into the pen-class tables (or are literals)
  // and stay valid while the tables are not rebuilt, so an entity costs no copy of them.
  struct EntityAttributes {
    const char* layer;
    const char* lineType;
    int colour;
  };
  EntityAttributes entityAttributes(int penClass, int cosmetic) const;
  // The entry of a pen-class table; null for an index outside it, which stands for the fallback
  // below.
  static const RWCString* penTableEntry(const RWTValOrderedVector<RWCString>& table, int index);
  static constexpr const char* kPenLayerFallback = "0";
  static constexpr const char* kPenLineTypeFallback = "CONTINUOUS";
  // Makes the set's entities a block under a unique name derived from name and view number and
  // inserts it at (x, y) turned by angleRadians; the INSERT joins targetSet. Frees localSet.
  std::int32_t makeBlockAndInsert(const RWCString& name, int viewNumber, const ads_name localSet,
                                  double x, double y, double angleRadians,
                                  const ads_name targetSet);
  // A block name not yet in the drawing: base, then base followed by 0, 1, 2, ...
  RWCString uniqueBlockName(const RWCString& base);
  // The display name of a definition block: the value under the language key, else "default".
  RWCString definitionDisplayName(QVConfig& definitions, const RWCString& language,
                                  const RWCString& block);
  // Whether upper (a text in capitals) is word or an entry of the BYNAME list of word.
  bool matchesByName(const RWCString& upper, const char* word, const char* listDefault);

  // Constructed in this order, destroyed in the reverse one.
  RWTHashDict<RWCString, RWCString> catalogue_;     // source text -> translation, exact case
  std::uint8_t inchFlag_ = 0;
  ShapeRefList shapeReferences_;
  RWTValOrderedVector<RWCString> penLayers_;
  RWTValOrderedVector<RWCString> penLineTypes_;
  RWTValOrderedVector<int> penColours_;
  RWCString hatchLayer_;
  RWCString hatchLineType_;
  RWCString cosmeticLayer_;
  std::int32_t hatchColour_ = 7;
  RWTValOrderedVector<DefColorItem> colourDefinitions_;
  RWTValOrderedVector<RWCString> lineTypeNames_;
  RWCString metafileName_;
  RWCString satFileName_;
  RWCString satVersion_;
  // The placement that the figure being converted gives its texts and hatch patterns
  // (MetafileConverter.cpp).
  FigurePlacement placement_;
};
