// Insertion of the part that a catalogue program left in its exchange file: the 2D part is built
// by the metafile conversion where the file places it and then dragged to the picked point and
// turned about it; a 3D part is imported from its SAT file, made a uniquely named block, inserted
// and dragged. Also the open-part command, which inserts a metafile named on the command line.
// Every selection set and host list taken here is held by a scope, so it is given back on every
// path, also when reading the metafile throws.
#include <cstdio>
#include <cstring>
#include <ios>
#include <string>

#include "meta/mMat4d.h"
#include "meta/mVec3d.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "meta/mPlaneGeometry.h"
#include "plugin/CommandContext.h"
#include "plugin/HostBinding.h"
#include "plugin/HostScopes.h"

namespace {


// The drag's transform: a pure translation by the cursor position.
int dragTransformCallback(ads_point point, ads_matrix matrix) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) matrix[r][c] = r == c ? 1.0 : 0.0;
  matrix[0][3] = point[0];
  matrix[1][3] = point[1];
  matrix[2][3] = point[2];
  return RTNORM;
}

// The host takes its matrices row by row; ours are stored column by column.
void toHostMatrix(const mMat4dC& m, ads_matrix out) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) out[r][c] = m.m[r + 4 * c];
}

}  // namespace

std::int32_t CommandContext::runOpenMetafileCommand() {
  const ResultListScope args(hostcall::getArgs());
  if (!args.get()) return 1;
  std::int32_t result = 1;
  if (args.get()->restype == RTSTR && args.get()->resval.rstring) {
    const RWCString name(args.get()->resval.rstring);
    result = prepareLayers();
    if (result == 1) result = insertMetafilePart(name);
  }
  return result;
}

// A file that cannot be read counts as not there: a folder, a file without read permission, or
// one whose first read fails (an I/O error). The stream reports a failed read as its bad state.
std::int32_t CommandContext::checkMetafile(const RWCString& fileName) {
  // Only a regular file is opened, and never waited on: a pipe or a device at the exchange path
  // is no part and counts as not found, as a folder does.
  std::FILE* file = platform::openRegularFile(std::string_view(fileName.data(), fileName.length()));
  if (!file) return -1;
  // The first line matters only as far as its first three characters.
  char head[3] = {};
  const std::size_t got = std::fread(head, 1, sizeof head, file);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return -1;
  return got == sizeof head && std::memcmp(head, "000", sizeof head) == 0 ? 0 : 1;
}

bool CommandContext::metafileHoldsPart(const RWCString& fileName) {
  const std::int32_t check = checkMetafile(fileName);
  if (check == -1) {
    printMessage("Metadatei %s wurde nicht gefunden!", fileName.data());
    return false;
  }
  if (check == 0) {
    printMessage("Es wurde kein Teil übergeben!");
    return false;
  }
  return true;
}

std::int32_t CommandContext::insertMetafilePart(const RWCString& fileName) {
  if (!metafileHoldsPart(fileName)) return -1;

  SelectionSetScope set;
  if (!set.make()) return -1;
  std::int32_t result = -1;
  try {
    result = convertMetafile(fileName, set.get(), 0, 0.0, 0.0, 0.0);
  } catch (const std::ios_base::failure&) {
    // The file could be opened but not read to its end (an I/O error): it is reported as a
    // metafile that does not read, and nothing of it is placed.
    printMessage("Fehler in der Metadatei!");
    return -1;
  }
  if (result == 1) {
    ads_point point = {0.0, 0.0, 0.0};
    RWCString prompt;
    dragSelection(set.get(), formatMessage(prompt, "Einfügepunkt wählen:").data(), point);
    moveSelection(set.get(), point);
    double angle = 0.0;
    getRotationAngle(point, formatMessage(prompt, "Drehwinkel:").data(), angle);
    rotateSelection(set.get(), angle, point);
  }
  return result;
}

std::int32_t CommandContext::insertSatPart(const RWCString& fileName) {
  const std::string_view path(fileName.data(), fileName.length());
  platform::FileStatus st;
  if (!platform::status(path, st)) return 0;

  SelectionSetScope set;
  if (!set.make()) return 1;
  ads_name last = {0, 0};
  const bool wasEmpty = hostcall::entLast(last) != RTNORM;

  hostcall::command(RTSTR, "_acisin", RTSTR, fileName.data(), RTNONE);

  // Only what the import appended after the remembered last entity joins the set.
  ads_name entity = {0, 0};
  int rc = hostcall::entNext(wasEmpty ? nullptr : last, entity);
  std::int32_t added = 0;
  while (rc == RTNORM) {
    hostcall::ssAdd(entity, set.get(), set.get());
    ++added;
    ads_name following = {0, 0};
    rc = hostcall::entNext(entity, following);
    entity[0] = following[0];
    entity[1] = following[1];
  }
  if (added == 0) {
    // Nothing was imported: no block is made of entities that were there before.
    set.free();
    printMessage("Es wurde kein Teil übergeben!");
    return 1;
  }

  const RWCString blockName = uniqueBlockName(RWCString("TROVSOL"));
  const double base[3] = {0.0, 0.0, 0.0};
  hostcall::command(RTSTR, "_.BLOCK", RTSTR, blockName.data(), RTPOINT, base, RTPICKS, set.get(),
                    RTSTR, "", RTNONE);
  set.free();

  int made = RTREJ;
  {
    const ResultListScope insert(
        hostcall::buildList(RTDXF0, "INSERT", 2, blockName.data(), 10, base, 50, 0.0, 0));
    if (insert.get()) made = hostcall::entMake(insert.get());
  }
  if (made != RTNORM) {
    printMessage("Fehler beim Erzeugen des Blocks %s", blockName.data());
    return 1;
  }

  ads_name inserted = {0, 0};
  hostcall::entLast(inserted);
  SelectionSetScope placed;
  if (!placed.make(inserted)) return 1;
  ads_point point = {0.0, 0.0, 0.0};
  RWCString prompt;
  dragSelection(placed.get(), formatMessage(prompt, "Einfügepunkt wählen:").data(), point);
  moveSelection(placed.get(), point);
  return 1;
}

std::int32_t CommandContext::dragSelection(const ads_name set, const char* prompt,
                                           ads_point point) {
  point[0] = point[1] = point[2] = 0.0;
  hostcall::print("\n");
  return hostcall::dragGen(set, prompt, 0, dragTransformCallback, point);
}

std::int32_t CommandContext::getRotationAngle(const ads_point basePoint, const char* prompt,
                                              double& angle) {
  angle = 0.0;
  hostcall::print("\n");
  ads_real radiansGiven = 0.0;
  if (hostcall::getOrient(basePoint, prompt, &radiansGiven) == RTNORM)
    angle = radiansGiven * 180.0 / kMetaPi;
  return 1;
}

std::int32_t CommandContext::moveSelection(const ads_name set, const ads_point point) {
  mMat4dC m = mMat4dC::identity();
  m.setTranslation(mVec3dC(point[0], point[1], 0.0));
  ads_matrix host;
  toHostMatrix(m, host);
  return hostcall::xformSS(set, host) == RTNORM ? 0 : -1;
}

std::int32_t CommandContext::rotateSelection(const ads_name set, double angle,
                                             const ads_point point) {
  mMat4dC to = mMat4dC::identity();
  to.setTranslation(mVec3dC(point[0], point[1], 0.0));
  mMat4dC back = mMat4dC::identity();
  back.setTranslation(mVec3dC(-point[0], -point[1], 0.0));
  const mMat4dC m = to.multiply(mMat4dC::rotationZ(angle)).multiply(back);
  ads_matrix host;
  toHostMatrix(m, host);
  return hostcall::xformSS(set, host) == RTNORM ? 0 : -1;
}
