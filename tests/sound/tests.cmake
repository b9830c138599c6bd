# The sound tests write their sound files with libsndfile's writer.
target_link_libraries(vexel_tests PRIVATE PkgConfig::SNDFILE)
