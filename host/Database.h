#pragma once
// The drawing: model-space entities in drawing order, block definitions with their own
// entities, the LAYER and LTYPE tables, the handle counter and the POLYLINE being built. Entity
// names handed to the plug-in are two words derived from the handle (never a pointer); a stale
// or made-up name finds nothing. The database owns every entity.

#include <cstdint>
#include <string>
#include <vector>

#include "host/Entity.h"
#include "host/SymbolTables.h"

namespace kxhost {

struct BlockRecord {
  std::string name;
  double base[3] = {0.0, 0.0, 0.0};
  std::vector<Entity> entities;
};

class Database {
public:
  Database() { reset(); }
  void reset();

  // ---- names -------------------------------------------------------------------------------
  static void nameOf(std::uint32_t handle, std::int32_t out[2]);
  // The handle a name encodes, when the name is well formed (it may still be stale).
  static bool handleOf(const std::int32_t name[2], std::uint32_t& handle);

  // The entity with this handle or name, wherever it lives (model space, a block, a POLYLINE's
  // sub-entities); null when there is none.
  const Entity* entity(std::uint32_t handle) const;
  Entity* entity(std::uint32_t handle);
  const Entity* entityByName(const std::int32_t name[2]) const;
  bool inModelSpace(std::uint32_t handle) const;

  // ---- making entities ------------------------------------------------------------------------
  // Checks the list (EntityValidator) and, when it is sound, appends the entity: RTNORM, or
  // RTREJ with `error` and nothing changed. A POLYLINE opens a complex entity that joins the
  // drawing with its SEQEND. A missing layer is made; a list without group 8 lands on
  // `currentLayer`.
  int make(GroupList list, const std::string& currentLayer, std::string& error);

  // Appends an entity that the host itself built (SAT import, script drawing); gives its handle.
  std::uint32_t append(Entity entity);

  bool pendingComplex() const { return !pending_.type.empty(); }
  void discardPending() { pending_ = Entity(); }

  // Newest main entity of model space; false on an empty drawing.
  bool last(std::uint32_t& handle) const;
  // The main entity after `after` in its container (0: the first of model space).
  bool next(std::uint32_t after, std::uint32_t& handle) const;
  bool erase(std::uint32_t handle);

  const std::vector<Entity>& model() const { return model_; }

  // ---- blocks -------------------------------------------------------------------------------
  const BlockRecord* findBlock(const std::string& name) const;
  // The position in blocks() of the block of this name, or NameIndex::npos.
  std::size_t blockPosition(const std::string& name) const { return blockAt_.find(name); }
  const std::vector<BlockRecord>& blocks() const { return blocks_; }
  // Moves the model-space entities (in drawing order) into a new block. False with `error` for
  // an existing or invalid name, no entities, or an entity that is not in model space.
  bool makeBlock(const std::string& name, const double base[3],
                 const std::vector<std::uint32_t>& handles, std::string& error);

  SymbolTables& tables() { return tables_; }
  const SymbolTables& tables() const { return tables_; }

  // One more than the highest handle given out.
  std::uint32_t handleSeed() const { return nextHandle_; }

private:
  // Where an entity lives, so that every lookup by handle costs the same however large the
  // drawing is. Handles are given out in order from kFirstHandle and never reused, so the table
  // is indexed by the handle itself.
  static constexpr std::uint32_t kFirstHandle = 0x100;
  static constexpr int kNowhere = -2;
  struct Location {
    int container = kNowhere;      // kNowhere: no such entity; -1 model space; else index into blocks_
    std::uint32_t parent = 0;      // owning POLYLINE of a sub-entity, else 0
    std::size_t position = 0;      // index in the container, or in the parent's subs
  };
  // The entity's location; null for a handle that names no entity.
  const Location* locate(std::uint32_t handle) const;
  Location* locate(std::uint32_t handle);
  void place(std::uint32_t handle, const Location& where);
  void forget(std::uint32_t handle);
  std::vector<Entity>* containerOf(int container);
  const std::vector<Entity>* containerOf(int container) const;
  // Records `e` (and its sub-entities) as standing at `position` of `container`.
  void index(const Entity& e, int container, std::size_t position);
  // Records the positions of the container's main entities from `from` on, after they moved.
  void reindex(int container, std::size_t from);

  std::vector<Entity> model_;
  std::vector<BlockRecord> blocks_;
  SymbolTables tables_;
  Entity pending_;                  // POLYLINE being built (type empty when none)
  std::uint32_t nextHandle_ = kFirstHandle;
  std::vector<Location> where_;                           // by handle - kFirstHandle
  NameIndex blockAt_;                                      // name -> index in blocks_
};

}  // namespace kxhost
