# The simulated camera's model, relative to camsim/: one list for the
# program's build and the fuzz targets' own build.
set(ZR_SIM_MODEL_SOURCES
    model/CameraBehaviour.cpp model/CameraModel.cpp model/CameraRegisters.cpp model/ClErrors.cpp
    model/CommandFrameParser.cpp model/FrameCodec.cpp model/FrameLog.cpp model/RegisterMap.cpp
    model/ReplyQueue.cpp model/SimClSerial.cpp model/SimOptions.cpp)
