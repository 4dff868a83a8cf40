// Numbers of the program's commands and resources, as the Windows program had them, so
// that every part adds its rows by the same numbers. Below both views and the application
// shell, which all meet on them.
#pragma once

namespace wv::ids {

// Resources: menus, toolbar and document templates.
inline constexpr int IDR_MAINFRAME = 128;  // main menu, toolbar, accelerators
inline constexpr int IDR_TYDTYPE = 129;    // calculation documents
inline constexpr int IDR_TIKTYPE = 137;    // project documents

// Application commands.
inline constexpr int ID_NEW_PROJECT = 32771;
inline constexpr int ID_OPEN_PROJECT = 32772;
inline constexpr int ID_DUMMY = 32773;
inline constexpr int ID_SAVE_ALL = 32775;
inline constexpr int ID_CLOSE_ALL = 32776;
inline constexpr int ID_ZOOM_IN = 32777;
inline constexpr int ID_ZOOM_OUT = 32778;
inline constexpr int ID_ZOOM_ALL = 32779;
inline constexpr int ID_REDRAW = 32780;
inline constexpr int ID_BASE_VIEW = 32827;
inline constexpr int ID_RESULT_LIST = 32858;
inline constexpr int ID_HELP_OVERVIEW = 32897;
inline constexpr int ID_CHECK_UPDATE = 32898;
inline constexpr int ID_UPDATE_AT_START = 32899;
inline constexpr int ID_UPDATE_HISTORY = 32901;

// Calculation view commands.
inline constexpr int ID_ROTATE = 32781;
inline constexpr int ID_DXF_OUT = 32825;
inline constexpr int ID_BFO_OUT = 32826;
inline constexpr int ID_CALC_AREA = 32829;
inline constexpr int ID_DEPTH_CALC = 32830;
inline constexpr int ID_DEPTH_CONTOUR = 32831;
inline constexpr int ID_WAVE_CALC = 32832;
inline constexpr int ID_LAND_FILL = 32833;
inline constexpr int ID_WAVE_COND = 32834;
inline constexpr int ID_DRAW_COND = 32835;
inline constexpr int ID_FRAME_PLACE = 32836;
inline constexpr int ID_NORTH_SET = 32837;
inline constexpr int ID_NORTH_CLEAR = 32838;
inline constexpr int ID_WAVEMARK_SET = 32839;
inline constexpr int ID_WAVEMARK_CLEAR = 32840;
inline constexpr int ID_RESULT_CONTOUR = 32842;
inline constexpr int ID_CONTOUR_INSERT = 32843;
inline constexpr int ID_CONTOUR_LABEL = 32844;
inline constexpr int ID_CONTOUR_DELETE = 32845;
inline constexpr int ID_CONTOUR_AREA_DELETE = 32846;
inline constexpr int ID_HEIGHT_CHECK = 32847;
inline constexpr int ID_HEIGHT_MAP_MOUSE = 32848;
inline constexpr int ID_HEIGHT_MAP_COORD = 32849;
inline constexpr int ID_HEIGHT_MAP_TOGGLE = 32850;
inline constexpr int ID_HEIGHT_MAP_AREA = 32851;
inline constexpr int ID_VECTOR_MOUSE = 32852;
inline constexpr int ID_VECTOR_COORD = 32853;
inline constexpr int ID_VECTOR_TOGGLE = 32854;
inline constexpr int ID_VECTOR_AREA = 32855;
inline constexpr int ID_DATAFRAME_SET = 32856;
inline constexpr int ID_DATAFRAME_RESET = 32857;
inline constexpr int ID_DATAFRAME_RESET_ALL = 32865;
inline constexpr int ID_DEPTH_MAP = 32867;
inline constexpr int ID_DIR_MAP_MOUSE = 32880;
inline constexpr int ID_DIR_MAP_COORD = 32882;
inline constexpr int ID_DIR_MAP_TOGGLE = 32884;
inline constexpr int ID_DIR_MAP_AREA = 32886;
inline constexpr int ID_CONTINUOUS_DATA = 32888;
inline constexpr int ID_RESULT_FILE_OUT = 32889;
inline constexpr int ID_MESH_FILE_IN = 32892;
inline constexpr int ID_MESH_FILE_OUT = 32893;

// The framework's commands.
inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_CLOSE = 57602;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_SAVE_AS = 57604;
inline constexpr int ID_FILE_PRINT_SETUP = 57606;
inline constexpr int ID_FILE_PRINT = 57607;
inline constexpr int ID_FILE_PRINT_DIRECT = 57608;
inline constexpr int ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr int ID_FILE_MRU_FILE1 = 57616;
inline constexpr int ID_FILE_MRU_FILE4 = 57619;
inline constexpr int ID_WINDOW_NEW = 57648;
inline constexpr int ID_WINDOW_ARRANGE = 57649;
inline constexpr int ID_WINDOW_CASCADE = 57650;
inline constexpr int ID_WINDOW_TILE_HORZ = 57651;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_HELP_FINDER = 57667;
inline constexpr int ID_VIEW_TOOLBAR = 59392;
inline constexpr int ID_VIEW_STATUS_BAR = 59393;

// Status bar panes.
inline constexpr int ID_SEPARATOR_PROMPT = 59144;  // pane 0: prompts and the idle text
inline constexpr int ID_INDICATOR_POSITION = 59143;  // pane 1: the pointer position

}  // namespace wv::ids
