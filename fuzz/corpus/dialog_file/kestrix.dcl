LANGUAGES: english;german
// Dialogs of the catalogue interface's options command, each once per language. A dialog is
// named kestrix_ + its base name (opt, load, save, color, ltype) + _ + the language in lower
// case; the plug-in falls back to the _english dialogs for a language that the first line does
// not list. The plug-in relies only on the tile keys; labels and layout are free.

// ---- english
kestrix_opt_english : dialog {
  label = "Options of the catalogue interface";
  : row {
    : text { label = "Pen class"; width = 20; }
    : text { label = "Layer"; width = 18; }
    : text { label = "Line type"; width = 22; }
    : text { label = "Colour"; width = 18; }
  }
  : row {
    : text { label = "Solid heavy"; width = 20; }
    : edit_box { key = "layer_solidheavy"; edit_width = 16; }
    : edit_box { key = "ltype_solidheavy"; edit_width = 16; }
    : button { key = "ltbut_solidheavy"; label = "..."; fixed_width = true; }
    : edit_box { key = "lcolor_solidheavy"; edit_width = 12; }
    : button { key = "clbut_solidheavy"; label = "..."; fixed_width = true; }
  }
  : row {
    : text { label = "Solid light"; width = 20; }
    : edit_box { key = "layer_solidlight"; edit_width = 16; }
    : edit_box { key = "ltype_solidlight"; edit_width = 16; }
    : button { key = "ltbut_solidlight"; label = "..."; fixed_width = true; }
    : edit_box { key = "lcolor_solidlight"; edit_width = 12; }
    : button { key = "clbut_solidlight"; label = "..."; fixed_width = true; }
  }
  : row {
    : text { label = "Hidden"; width = 20; }
    : edit_box { key = "layer_hidden"; edit_width = 16; }
    : edit_box { key = "ltype_hidden"; edit_width = 16; }
    : button { key = "ltbut_hidden"; label = "..."; fixed_width = true; }
    : edit_box { key = "lcolor_hidden"; edit_width = 12; }
    : button { key = "clbut_hidden"; label = "..."; fixed_width = true; }
  }
  : row {
    : text { label = "Center"; width = 20; }
    : edit_box { key = "layer_center"; edit_width = 16; }
    : edit_box { key = "ltype_center"; edit_width = 16; }
    : button { key = "ltbut_center"; label = "..."; fixed_width = true; }
    : edit_box { key = "lcolor_center"; edit_width = 12; }
    : button { key = "clbut_center"; label = "..."; fixed_width = true; }
  }
  : row {
    : text { label = "Heavy dash dot"; width = 20; }
    : edit_box { key = "layer_heavydashdot"; edit_width = 16; }
    : edit_box { key = "ltype_heavydashdot"; edit_width = 16; }
    : button { key = "ltbut_heavydashdot"; label = "..."; fixed_width = true; }
    : edit_box { key = "lcolor_heavydashdot"; edit_width = 12; }
    : button { key = "clbut_heavydashdot"; label = "..."; fixed_width = true; }
  }
  : row {
    : text { label = "Hatch"; width = 20; }
    : edit_box { key = "layer_hatch"; edit_width = 16; }
    : edit_box { key = "ltype_hatch"; edit_width = 16; }
    : button { key = "ltbut_hatch"; label = "..."; fixed_width = true; }
    : edit_box { key = "lcolor_hatch"; edit_width = 12; }
    : button { key = "clbut_hatch"; label = "..."; fixed_width = true; }
  }
  : row {
    : text { label = "Cosmetic"; width = 20; }
    : edit_box { key = "layer_cosm"; edit_width = 16; }
  }
  : boxed_column {
    label = "Exchange files";
    : edit_box { key = "METAXCHGNAME"; label = "Metafile"; edit_width = 40; }
    : edit_box { key = "SATXCHGNAME"; label = "SAT file"; edit_width = 40; }
    : edit_box { key = "SATVERSION"; label = "SAT version"; edit_width = 8; }
  }
  : row {
    : button { key = "load"; label = "Load..."; }
    : button { key = "save"; label = "Save..."; }
  }
  ok_cancel;
}

kestrix_load_english : dialog {
  label = "Load a stored configuration";
  : list_box { key = "cfglist"; label = "Stored configurations"; height = 10; }
  ok_cancel;
}

kestrix_save_english : dialog {
  label = "Store the configuration";
  : edit_box { key = "cfgname"; label = "Name"; edit_width = 30; }
  ok_cancel;
}

kestrix_color_english : dialog {
  label = "Pick a colour";
  : list_box { key = "vallist"; label = "Colours"; height = 10; }
  ok_cancel;
}

kestrix_ltype_english : dialog {
  label = "Pick a line type";
  : list_box { key = "vallist"; label = "Line types"; height = 10; }
  ok_cancel;
}

// ---- german
kestrix_opt_german : dialog {
  label = "Optionen der Katalogschnittstelle";
  : row {
    : text { label = "Stiftklasse"; width = 20; }
    : text { label = "Layer"; width = 18; }
    : text { label = "Linientyp"; width = 22; }
    : text { label = "Farbe"; width = 18; }
  }
  : row {
    : text { label = "Volllinie breit"; width = 20; }
    : edit_box { key = "layer_solidheavy"; edit_width = 16; }
    : edit_box { key = "ltype_solidheavy"; edit_width = 16; }
    : button { key = "ltbut_solidheavy"; label = "..."; fixed_width = true; }
    : edit_box { key = "lcolor_solidheavy"; edit_width = 12; }
    : button { key = "clbut_solidheavy"; label = "..."; fixed_width = true; }
  }
  : row {
    : text { label = "Volllinie schmal"; width = 20; }
    : edit_box { key = "layer_solidlight"; edit_width = 16; }
    : edit_box { key = "ltype_solidlight"; edit_width = 16; }
    : button { key = "ltbut_solidlight"; label = "..."; fixed_width = true; }
    : edit_box { key = "lcolor_solidlight"; edit_width = 12; }
    : button { key = "clbut_solidlight"; label = "..."; fixed_width = true; }
  }
  : row {
    : text { label = "Verdeckt"; width = 20; }
    : edit_box { key = "layer_hidden"; edit_width = 16; }
    : edit_box { key = "ltype_hidden"; edit_width = 16; }
    : button { key = "ltbut_hidden"; label = "..."; fixed_width = true; }
    : edit_box { key = "lcolor_hidden"; edit_width = 12; }
    : button { key = "clbut_hidden"; label = "..."; fixed_width = true; }
  }
  : row {
    : text { label = "Mittellinie"; width = 20; }
    : edit_box { key = "layer_center"; edit_width = 16; }
    : edit_box { key = "ltype_center"; edit_width = 16; }
    : button { key = "ltbut_center"; label = "..."; fixed_width = true; }
    : edit_box { key = "lcolor_center"; edit_width = 12; }
    : button { key = "clbut_center"; label = "..."; fixed_width = true; }
  }
  : row {
    : text { label = "Strichpunkt breit"; width = 20; }
    : edit_box { key = "layer_heavydashdot"; edit_width = 16; }
    : edit_box { key = "ltype_heavydashdot"; edit_width = 16; }
    : button { key = "ltbut_heavydashdot"; label = "..."; fixed_width = true; }
    : edit_box { key = "lcolor_heavydashdot"; edit_width = 12; }
    : button { key = "clbut_heavydashdot"; label = "..."; fixed_width = true; }
  }
  : row {
    : text { label = "Schraffur"; width = 20; }
    : edit_box { key = "layer_hatch"; edit_width = 16; }
    : edit_box { key = "ltype_hatch"; edit_width = 16; }
    : button { key = "ltbut_hatch"; label = "..."; fixed_width = true; }
    : edit_box { key = "lcolor_hatch"; edit_width = 12; }
    : button { key = "clbut_hatch"; label = "..."; fixed_width = true; }
  }
  : row {
    : text { label = "Kosmetisch"; width = 20; }
    : edit_box { key = "layer_cosm"; edit_width = 16; }
  }
  : boxed_column {
    label = "Austauschdateien";
    : edit_box { key = "METAXCHGNAME"; label = "Metadatei"; edit_width = 40; }
    : edit_box { key = "SATXCHGNAME"; label = "SAT-Datei"; edit_width = 40; }
    : edit_box { key = "SATVERSION"; label = "SAT-Version"; edit_width = 8; }
  }
  : row {
    : button { key = "load"; label = "Laden..."; }
    : button { key = "save"; label = "Speichern..."; }
  }
  ok_cancel;
}

kestrix_load_german : dialog {
  label = "Gespeicherte Konfiguration laden";
  : list_box { key = "cfglist"; label = "Gespeicherte Konfigurationen"; height = 10; }
  ok_cancel;
}

kestrix_save_german : dialog {
  label = "Konfiguration speichern";
  : edit_box { key = "cfgname"; label = "Name"; edit_width = 30; }
  ok_cancel;
}

kestrix_color_german : dialog {
  label = "Farbe wählen";
  : list_box { key = "vallist"; label = "Farben"; height = 10; }
  ok_cancel;
}

kestrix_ltype_german : dialog {
  label = "Linientyp wählen";
  : list_box { key = "vallist"; label = "Linientypen"; height = 10; }
  ok_cancel;
}
