#pragma once
// The handlers of the module's 34 commands. Each takes no arguments and returns nothing; the
// host calls it from the command line. A handler is defined where its command is built.

// Roofs and building parts.
void CMD_GABLE_ROOF();
void CMD_PYRAMID_ROOF();
void CMD_ARCHED_ROOF();
void CMD_UNION_ROOF();
void CMD_PRISMOID_ROOF();
void CMD_ROOF();
void CMD_BALCONY();
void CMD_DORMER();

// Buildings and windows.
void CMD_EXTRUDE_BUILD();
void CMD_ORDER_INSERT_WINDOW();
void CMD_2POINT_INSERT_WINDOW();
void CMD_QUICK_INSERT_WINDOW();
void CMD_REORDER_WINDOW_INDEX();
void CMD_REORDER_WINDOW_FLOOR();
void CMD_INQUIRE_BUILD();
void CMD_WINDOW_DOOR();
void CMD_NAME_BUILD();
void CMD_CHECK_UNNAMED_BUILD();
void CMD_CHECK_UNOWNED_WINDOW();
void CMD_WIN_BELONG_BUILD();
void CMD_EDIT_ELEVATION();
void CMD_DRAW_LAYER_LINE();
void CMD_FLIP_WIN_DIR();
void CMD_SHOW_UNNAMED_BUILD();

// Annotation, analysis groups and model exchange.
void CMD_DIM_BUILD_NAME();
void CMD_BUILD_GROUP();
void CMD_QUERY_GROUP();
void CMD_DIM_BUILD_ELEVATION();
void CMD_UPDATE_MODEL_SCALE();
void CMD_BATCH_CREATE_CONTOUR();
void CMD_UPDATE_OLD_WINDOW();
void CMD_UPDATE_OLD_BUILD();
void CMD_IMPORT_THIRD_PARTY_MODEL();
void CMD_SET_ELEVATION_STYLE();
