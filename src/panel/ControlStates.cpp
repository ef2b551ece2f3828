#include "panel/ControlStates.h"

#include "panel/PanelControlIds.h"
#include "widgets/ControlMap.h"

namespace zr::panel {

using widgets::ControlMap;

namespace {

bool triggeredBy(int id, int first, int last) {
    return id == 0 || (id >= first && id <= last);
}

// The controls that follow the automatic level control.
void updateAlc(const ControlMap& c) {
    c.setEnabled({IDC_ALC_GROUP, IDC_ALC_OFF, IDC_ALC_AGC, IDC_ALC_AES, IDC_ALC_AGC_AES}, true);

    const bool off = c.isChecked(IDC_ALC_OFF);
    const bool aes = c.isChecked(IDC_ALC_AES);
    const bool agcAes = c.isChecked(IDC_ALC_AGC_AES);
    // The camera sets the gain itself under AGC; the video level is the
    // target of every automatic mode.
    c.setEnabled({IDC_GAIN_SCROLL, IDC_GAIN_VALUE, IDC_GAIN_LABEL}, off || aes);
    c.setEnabled({IDC_VIDEO_SCROLL, IDC_VIDEO_VALUE, IDC_VIDEO_LABEL}, !off);

    // The camera sets the shutter itself under AES.
    if (aes || agcAes) {
        c.setRangeEnabled(IDC_SHUTTER_OFF, IDC_SHUTTER_VARIABLE, false);
        c.setEnabled(
            {IDC_VSHUTTER_SCROLL, IDC_VSHUTTER_VALUE, IDC_VSHUTTER_LABEL, IDC_SHUTTER_GROUP},
            false);
    } else {
        c.setRangeEnabled(IDC_SHUTTER_OFF, IDC_SHUTTER_VARIABLE, true);
        c.setEnabled(IDC_SHUTTER_GROUP, true);
        c.setEnabled({IDC_VSHUTTER_SCROLL, IDC_VSHUTTER_VALUE, IDC_VSHUTTER_LABEL},
                     c.isChecked(IDC_SHUTTER_VARIABLE));
    }
}

}  // namespace

void updateControlStates(const ControlMap& c, int id) {
    // 1: trigger polarity and source mean nothing while the trigger is off.
    if (triggeredBy(id, IDC_TRIG_OFF, IDC_TRIG_VD_CONT)) {
        c.setEnabled({IDC_TRIG_POLARITY_GROUP, IDC_TRIG_POSI, IDC_TRIG_NEGA, IDC_TRIG_SOURCE_GROUP,
                      IDC_TRIG_CC1, IDC_TRIG_7PIN, IDC_TRIG_9PIN},
                     !c.isChecked(IDC_TRIG_OFF));
        if (!c.isChecked(IDC_TRIG_FIXED) && !c.isChecked(IDC_TRIG_1TRIG)) updateAlc(c);
    }
    // 2: the variable shutter value only with VARIABLE.
    if (triggeredBy(id, IDC_SHUTTER_OFF, IDC_SHUTTER_VARIABLE)) {
        c.setEnabled({IDC_VSHUTTER_SCROLL, IDC_VSHUTTER_VALUE, IDC_VSHUTTER_LABEL},
                     c.isChecked(IDC_SHUTTER_VARIABLE));
    }
    // 3: knee point and slope only with the knee on.
    if (triggeredBy(id, IDC_KNEE_OFF, IDC_KNEE_ON)) {
        c.setEnabled({IDC_KNEE_POINT_SCROLL, IDC_KNEE_POINT_VALUE, IDC_KNEE_POINT_LABEL,
                      IDC_KNEE_SLOPE_SCROLL, IDC_KNEE_SLOPE_VALUE, IDC_KNEE_SLOPE_LABEL},
                     c.isChecked(IDC_KNEE_ON));
    }
    // 4: automatic level control.
    if (triggeredBy(id, IDC_ALC_OFF, IDC_ALC_AGC_AES)) updateAlc(c);
    // 5: gamma level only with gamma on.
    if (triggeredBy(id, IDC_GAMMA_OFF, IDC_GAMMA_ON)) {
        c.setEnabled({IDC_GAMMA_SCROLL, IDC_GAMMA_VALUE, IDC_GAMMA_LABEL},
                     c.isChecked(IDC_GAMMA_ON));
    }
    // 6: sharpness level only with sharpness on.
    if (triggeredBy(id, IDC_SHARP_OFF, IDC_SHARP_ON)) {
        c.setEnabled({IDC_SHARP_SCROLL, IDC_SHARP_VALUE, IDC_SHARP_LABEL},
                     c.isChecked(IDC_SHARP_ON));
    }
    // 7: the look-up table replaces gamma and knee; overrides rule 5 on the
    // gamma level scroll bar.
    if (triggeredBy(id, IDC_LUT_OFF, IDC_LUT_ON)) {
        c.setEnabled({IDC_GAMMA_OFF, IDC_GAMMA_ON, IDC_GAMMA_SCROLL, IDC_KNEE_OFF, IDC_KNEE_ON},
                     !c.isChecked(IDC_LUT_ON));
    }
    // 8: the masking values only with masking on.
    if (triggeredBy(id, IDC_MASK_OFF, IDC_MASK_ON)) {
        c.setEnabled({IDC_SAT_R_SCROLL, IDC_SAT_CY_SCROLL, IDC_SAT_G_SCROLL, IDC_SAT_MG_SCROLL,
                      IDC_SAT_B_SCROLL, IDC_SAT_YE_SCROLL, IDC_HUE_R_SCROLL, IDC_HUE_CY_SCROLL,
                      IDC_HUE_G_SCROLL, IDC_HUE_MG_SCROLL, IDC_HUE_B_SCROLL, IDC_HUE_YE_SCROLL,
                      IDC_SAT_R_VALUE,  IDC_SAT_CY_VALUE,  IDC_SAT_G_VALUE,  IDC_SAT_MG_VALUE,
                      IDC_SAT_B_VALUE,  IDC_SAT_YE_VALUE,  IDC_HUE_R_VALUE,  IDC_HUE_CY_VALUE,
                      IDC_HUE_G_VALUE,  IDC_HUE_MG_VALUE,  IDC_HUE_B_VALUE,  IDC_HUE_YE_VALUE,
                      IDC_SAT_R_LABEL,  IDC_SAT_CY_LABEL,  IDC_SAT_G_LABEL,  IDC_SAT_MG_LABEL,
                      IDC_SAT_B_LABEL,  IDC_SAT_YE_LABEL,  IDC_HUE_R_LABEL,  IDC_HUE_CY_LABEL,
                      IDC_HUE_G_LABEL,  IDC_HUE_MG_LABEL,  IDC_HUE_B_LABEL,  IDC_HUE_YE_LABEL},
                     c.isChecked(IDC_MASK_ON));
    }
    // 9: paint black levels only with paint black on. Triggered by every id
    // between the two paint black buttons, scroll bars included.
    if (triggeredBy(id, IDC_PB_OFF, IDC_PB_ON)) {
        c.setEnabled({IDC_PB_RED_SCROLL, IDC_PB_GREEN_SCROLL, IDC_PB_BLUE_SCROLL, IDC_PB_RED_VALUE,
                      IDC_PB_GREEN_VALUE, IDC_PB_BLUE_VALUE, IDC_PB_RED_LABEL, IDC_PB_GREEN_LABEL,
                      IDC_PB_BLUE_LABEL},
                     c.isChecked(IDC_PB_ON));
    }
    // 10: white balance gains and ADJUST only in MANUAL.
    if (triggeredBy(id, IDC_WB_ATW, IDC_WB_MANUAL)) {
        c.setEnabled({IDC_WB_RGAIN_SCROLL, IDC_WB_RGAIN_VALUE, IDC_WB_RGAIN_LABEL,
                      IDC_WB_BGAIN_SCROLL, IDC_WB_BGAIN_VALUE, IDC_WB_BGAIN_LABEL,
                      IDC_WB_GGAIN_SCROLL, IDC_WB_GGAIN_VALUE, IDC_WB_GGAIN_LABEL, IDC_WB_ADJUST},
                     c.isChecked(IDC_WB_MANUAL));
    }
}

}  // namespace zr::panel
