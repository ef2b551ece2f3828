# The core's sources (the link and the parameters: standard library and POSIX
# only), relative to src/. One list for the program's build and the fuzz
# targets' own build.
set(ZR_CORE_SOURCES
    link/AnswerParser.cpp link/ClLibrary.cpp link/ClOpen.cpp
    link/ClSerialApi.cpp link/ClSerialTransport.cpp link/ComPort.cpp link/ComPortResolver.cpp
    link/ComTransport.cpp link/FrameCodec.cpp link/LinkWorker.cpp link/MessageRelay.cpp
    link/NetOpen.cpp link/NetTransport.cpp link/NetUrl.cpp link/OpenMessages.cpp link/PollWait.cpp
    link/Rfc2217Handshake.cpp link/TelnetCodec.cpp
    link/SerialLink.cpp link/SystemClock.cpp link/TraceQueue.cpp link/TtyDevice.cpp
    link/WakeSignal.cpp
    params/BulkOperations.cpp params/CameraIdentity.cpp params/CameraParamTable.cpp
    params/ChangeNotice.cpp params/FileErrorText.cpp
    params/LutCsv.cpp params/LutFile.cpp params/LutRegisters.cpp params/LutTransfer.cpp
    params/JsonValue.cpp params/ParamAccess.cpp params/ParamNames.cpp params/SafeFileReplace.cpp
    params/RegisterText.cpp params/SettingsFile.cpp params/TraceDecoder.cpp)
