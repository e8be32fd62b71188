# cmake -DJAVAP=... -DCLASSES=folder -P check_classes.cmake
file(GLOB found RELATIVE ${CLASSES} ${CLASSES}/*)
list(SORT found)
if(NOT found STREQUAL "WrappingLabel.class;quilanim.class")
    message(FATAL_ERROR "expected exactly quilanim.class and WrappingLabel.class in ${CLASSES}, found: ${found}")
endif()

execute_process(COMMAND ${JAVAP} -cp ${CLASSES} quilanim WrappingLabel
    OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "javap failed: ${errors}")
endif()
foreach(expected
        "public class quilanim extends java.applet.Applet implements java.lang.Runnable,java.awt.event.MouseListener"
        "public class WrappingLabel extends java.awt.Canvas"
        "public void init()" "public void start()" "public void stop()" "public void destroy()")
    string(FIND "${listing}" "${expected}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "javap does not show \"${expected}\":\n${listing}")
    endif()
endforeach()

foreach(class quilanim WrappingLabel)
    execute_process(COMMAND ${JAVAP} -v -cp ${CLASSES} ${class}
        OUTPUT_VARIABLE verbose RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0 OR NOT verbose MATCHES "major version: 52\n")
        message(FATAL_ERROR "${class}.class is not a Java 8 class file")
    endif()
    if(verbose MATCHES "InnerClasses")
        message(FATAL_ERROR "${class}.class has inner classes")
    endif()
endforeach()
message(STATUS "quilanim.class and WrappingLabel.class: Java 8 applet classes")
